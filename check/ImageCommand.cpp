#include "check/ImageCommand.h"

#include <csignal>

#include "check/DiscImage.h"
#include "check/ImageFile.h"

namespace {

// Ctrl+C while the image is written: the image is cancelled and its temporary file removed,
// rather than the process ended with half an image left beside the real one.
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }

class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = 0;
        int_ = std::signal(SIGINT, OnInterrupt);
        term_ = std::signal(SIGTERM, OnInterrupt);
    }
    ~InterruptGuard() {
        std::signal(SIGINT, int_);
        std::signal(SIGTERM, term_);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*int_)(int);
    void (*term_)(int);
};

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string TakeImageOptions(std::vector<std::string>& args, ImageOptions& options) {
    std::vector<std::string> rest;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        if (a == "--iso" || a == "--label") {
            if (i + 1 == args.size()) return a + " needs a value";
            given |= a == "--iso";
            (a == "--iso" ? options.image : options.label.emplace()) = args[++i];
        } else if (a == "--force") {
            options.force = true;
        } else {
            rest.push_back(a);
        }
    }
    if (given && options.image.empty()) return "--iso needs the image's file name";
    if (!given && (options.force || options.label)) return "--label and --force go with --iso IMAGE";
    args = std::move(rest);
    return {};
}

int MakeImage(const ImageOptions& options, const std::string& folder, Medium& medium, const CheckResult& result,
              bool json, const Writer& write, bool showProgress) {
    const std::string& path = options.image;
    std::vector<std::string> leaveOut;
    if (const std::string inside = PathOnMedium(folder, path); !inside.empty()) leaveOut.push_back(inside);
    DiscImage image(medium, options.label.value_or(result.menu.caption), ImageTime(), leaveOut);

    const std::size_t errors = result.report.Count(Severity::Error);
    std::string problem = UnusableImagePath(path);
    bool cancelled = false;
    if (problem.empty() && !image.Refusals().empty())
        problem = "the image cannot hold " + Plural(image.Refusals().size(), "name or file", "names or files") +
                  " as they stand (listed above), and nothing is ever cut, renamed or left out. Rename them, then "
                  "make the image again.";
    if (problem.empty() && errors && !options.force)
        problem = "the check found " + Plural(errors, "error", "errors") + " (above), which will not work on the "
                  "reader's PC. Fix them, or give --force to make the image anyway.";
    if (problem.empty()) {
        ImageFile out(path, image.Bytes());
        if (!out.Ready()) {
            problem = out.Failure();
        } else {
            InterruptGuard guard;
            int shown = -1;
            const auto made = image.Write(out, [&](std::uint64_t done, std::uint64_t total) {
                const int percent = total ? static_cast<int>(done * 100 / total) : 100;
                if (showProgress && percent != shown)
                    write(true, "\rWriting " + path + ": " + std::to_string(shown = percent) + " % (Ctrl+C cancels)");
                return !interrupted;
            });
            if (shown >= 0) write(true, "\n");
            cancelled = made.outcome == DiscImage::Outcome::Cancelled;
            if (made.outcome != DiscImage::Outcome::Written) problem = cancelled ? "cancelled." : made.problem;
        }
    }
    const bool written = problem.empty();
    const std::string outcome =
        written ? "Wrote " + path + ", labelled \"" + image.Label() + "\"" +
                      (errors ? ", despite the check's " + Plural(errors, "error", "errors") + " (--force)." : ".")
                : "No image written: " + problem;

    std::vector<Finding> findings = image.Refusals();
    findings.insert(findings.end(), image.Notes().begin(), image.Notes().end());
    if (json) {
        std::string list;
        for (const Finding& f : findings) list += (list.empty() ? "\n    " : ",\n    ") + FindingJson(f);
        write(false, FormatJson(result.report, "\"image\": {\"file\": " + JsonString(path) + ", \"written\": " +
                                                   (written ? "true" : "false") + ", \"label\": " +
                                                   JsonString(image.Label()) + ", \"sectors\": " +
                                                   std::to_string(image.Sectors()) + ", \"outcome\": " +
                                                   JsonString(outcome) + ", \"findings\": [" + list +
                                                   (list.empty() ? "]}" : "\n  ]}")));
    } else {
        std::string text = "\nDisc image: " + path + "\n\n";
        if (!image.Refusals().empty()) text += "Refused: names and files the image cannot hold as they stand\n\n";
        for (const Finding& f : image.Refusals()) text += FormatFinding(f);
        for (const Finding& f : image.Notes()) text += FormatFinding(f);
        write(false, text + outcome + "\n");
    }
    return written ? result.report.ExitStatus() : 2;
}
