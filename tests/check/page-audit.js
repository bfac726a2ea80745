// Audits pages of menu.htm with two independent oracles: axe-core, run inside headless Chromium
// on the page as a reader's browser lays it out (every rule, colour contrast included), and
// html-validate's recommended rules on the file. Prints one line per page and every problem.
//
//   NODE_PATH=BUILD/tests/node/node_modules node tests/check/page-audit.js CHROMIUM PAGE...
//
// Exit status 1 when any page has a violation or a validation error.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { pathToFileURL } = require('url');
const { chromium } = require('playwright-core');
const { HtmlValidate } = require('html-validate');

async function main() {
    const [executable, ...pages] = process.argv.slice(2);
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'orvelund-audit-'));
    const context = await chromium.launchPersistentContext(profile, {
        executablePath: executable,
        headless: true,
        args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
               '--disable-component-update', '--disable-sync'],
    });
    const validator = new HtmlValidate({ extends: ['html-validate:recommended'] });
    const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
    let failed = false;
    try {
        for (const file of pages) {
            const problems = [];
            const page = await context.newPage();
            await page.goto(pathToFileURL(path.resolve(file)).href, { waitUntil: 'load' });
            // The rules run in the page's own context; the page itself carries no script.
            await page.evaluate(axeSource);
            const result = await page.evaluate(() => window.axe.run(document, { resultTypes: ['violations'] }));
            for (const v of result.violations)
                for (const node of v.nodes)
                    problems.push(`axe ${v.id} (${v.impact}): ${node.target.join(' ')}: ${node.failureSummary.replace(/\s+/g, ' ')}`);
            const scripts = await page.evaluate(() => document.querySelectorAll('script').length);
            if (scripts !== 0) problems.push(`the page carries ${scripts} script(s)`);
            // Links go to the medium (relative) or to web and mail addresses, nothing else.
            const hrefs = await page.evaluate(() => [...document.querySelectorAll('a[href]')].map(a => a.getAttribute('href')));
            for (const href of hrefs)
                if (/^[a-z][a-z0-9+.-]*:/i.test(href) && !/^(https?|mailto):/i.test(href))
                    problems.push(`a link with the scheme of ${href.slice(0, 40)}`);
            await page.close();
            const report = await validator.validateFile(file);
            for (const r of report.results)
                for (const m of r.messages) problems.push(`html-validate ${m.ruleId} line ${m.line}: ${m.message}`);
            console.log(`page-audit: ${path.basename(path.dirname(file))}/${path.basename(file)}: ` +
                        `${problems.length ? problems.length + ' problem(s)' : 'no violation, valid'}`);
            for (const p of problems) console.log('  ' + p);
            failed = failed || problems.length > 0;
        }
    } finally {
        await context.close();
        fs.rmSync(profile, { recursive: true, force: true });
    }
    process.exit(failed ? 1 : 0);
}

main().catch(e => {
    console.error('page-audit: ' + (e && e.stack || e));
    process.exit(1);
});
