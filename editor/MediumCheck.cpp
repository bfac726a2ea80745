#include "editor/MediumCheck.h"

#include <algorithm>

#include "check/DiscImage.h"
#include "check/FileSystemMedium.h"
#include "check/MediumIndex.h"
#include "check/WebPage.h"
#include "editor/EntryFromFile.h"
#include "menu/MenuFile.h"
#include "platform/MediumCheckDesign.h"

using namespace CheckCtl;

MediumCheck::MediumCheck(MediumCheckForm& form, SetupWizard& editor, Orvelund& main, Services& services,
                         AppState& state)
    : form_(form), editor_(editor), main_(main), sv_(services), state_(state) {}

std::string MediumCheck::MenuFile() const { return "content\\" + state_.MenuFile; }

void MediumCheck::Form_Load() {
    form_.SetCaption(main_.Form().Caption() + " - Check Medium");
    RunCheck();
}

void MediumCheck::CheckAgain_Click() { RunCheck(); }

void MediumCheck::RunCheck() {
    // The menu as OK would write it, in place of the file: the check sees the medium as it
    // will be once saved, and reads nothing else differently from orvelund-check.
    const std::string bytes = TextFileBytes(editor_.MenuFileLines(), UnicodeForm::Utf8WithMark);
    unsaved_ = sv_.files.ReadBytes(main_.MenuPath(), bytes.size() + 1) != bytes;
    FileSystemMedium medium(sv_.files, sv_.app.appPath);
    medium.Overlay(MenuFile(), bytes);
    CheckOptions options;
    options.setCodePage = "open it in the Menu Editor on a PC of that code page and press OK, which saves it as "
                          "UTF-8.";
    result_ = CheckMedium(medium, options);

    rows_.clear();
    for (const Severity s : {Severity::Error, Severity::Warning, Severity::Note})
        for (const Finding& f : result_.report.findings)
            if (f.severity == s) rows_.push_back(MakeRow(f));
    form_.SetRowCount(RowCount());

    const Report& r = result_.report;
    const std::size_t errors = r.Count(Severity::Error), warnings = r.Count(Severity::Warning);
    form_.SetText(lblSummary, (errors + warnings == 0 ? "Nothing to report: no errors and no warnings. " : "") +
                                  SummaryLine(r) +
                                  (unsaved_ ? ", for the menu as the Menu Editor shows it, not saved yet." : "."));
    form_.SelectRow(rows_.empty() ? 0 : 1);
    lvFindings_SelectionChanged();
}

MediumCheck::Row MediumCheck::MakeRow(const Finding& f) const {
    Row row;
    row.finding = f;
    row.severity = f.severity == Severity::Error ? "Error" : f.severity == Severity::Warning ? "Warning" : "Note";
    row.code = f.code;
    const bool edited = MediumIndex::Fold(f.file) == MediumIndex::Fold(MenuFile());
    const std::size_t first = menufile::kLineFirstEntry + 1;
    if (edited && f.line >= first) {
        // The check read the menu as the editor writes it: no empty lines, one row to a line.
        const int position = static_cast<int>(f.line - first + 1);
        row.entry = editor_.IdAt(position);
        row.where = "Row " + std::to_string(position) + " (\"" + editor_.Cell(position, 0) + "\")";
        return row;
    }
    static const char* settings[] = {"Title", "Button Color", "BackGround Color", "Hide Setup Menu Option"};
    if (edited && f.line >= menufile::kLineTitle + 1 && f.line <= menufile::kLineHideSetup + 1) {
        row.where = settings[f.line - menufile::kLineTitle - 1];
        return row;
    }
    row.where = (f.file.empty() ? "The medium" : f.file) + (f.line ? " line " + std::to_string(f.line) : "") +
                (f.entry.empty() ? "" : " (\"" + f.entry + "\")");
    return row;
}

const std::string& MediumCheck::Cell(int row, int column) const {
    static const std::string none;
    if (row < 1 || row > RowCount()) return none;
    const Row& r = rows_[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0: return r.severity;
    case 1: return r.code;
    case 2: return r.where;
    default: return none;
    }
}

void MediumCheck::lvFindings_SelectionChanged() {
    const int row = form_.SelectedRow();
    if (row < 1 || row > RowCount()) {
        form_.SetText(txtDetails, rows_.empty() ? "Nothing to report." : "");
        return;
    }
    const Finding& f = rows_[static_cast<std::size_t>(row - 1)].finding;
    form_.SetText(txtDetails, f.what + (f.fix.empty() ? "" : "\r\n\r\nFix: " + f.fix));
}

void MediumCheck::lvFindings_DblClick() {
    const int row = form_.SelectedRow();
    if (row < 1 || row > RowCount()) return;
    const std::uint64_t entry = rows_[static_cast<std::size_t>(row - 1)].entry;
    if (!entry) return;  // about the medium or another file: no entry of this menu to edit
    const int position = editor_.PositionOf(entry);
    if (position == 0) {
        sv_.dialogs.MsgBox("This entry has been deleted from the Menu Editor's list since the check. Press "
                           "\"Check Again\" to check the menu as it is now.",
                           mb::OkOnly | mb::Exclamation, Title());
        return;
    }
    editor_.EditRow(position);
}

void MediumCheck::WriteWebPage_Click() {
    const std::string folder = sv_.app.appPath;
    PageFiles files;
    files.pathOf = [&](const std::string& page) {
        return folder + (!folder.empty() && folder.back() == '\\' ? "" : "\\") + page;
    };
    files.notAPlainFile = [&](const std::string& path) {
        return sv_.files.FolderExists(path) ? path + " is a folder, not a web page; it is left as it is. Remove or "
                                                     "rename it, then write the web page again."
                                            : std::string();
    };
    files.readStart = [&](const std::string& path, std::size_t n) { return sv_.files.ReadBytes(path, n); };
    files.replace = [&](const std::string& path, const std::string& bytes) { return sv_.files.WriteBytes(path, bytes); };
    const PagesWritten written = WriteMenuPages(result_, files);
    if (!written.error.empty()) {
        std::string prompt = "The web page could not be written:\r\n" + written.error;
        if (!written.pages.empty()) prompt += "\r\n\r\nThe pages written before it link a page that is missing.";
        sv_.dialogs.MsgBox(prompt, mb::OkOnly | mb::Critical, Title());
        return;
    }
    std::string prompt = written.pages.size() == 1 ? "The web page has been written:" : "The web pages have been written:";
    for (const auto& page : written.pages) prompt += "\r\n" + page.first;
    prompt += "\r\n\r\nReaders without Windows open menu.htm in their browser.";
    if (unsaved_) prompt += " It shows the menu as the Menu Editor shows it: press OK there to save the same menu.";
    prompt += "\r\n\r\nDo you want to open it in your browser now?";
    if (sv_.dialogs.MsgBox(prompt, mb::YesNo | mb::Information, Title()) == mb::Yes)
        sv_.shell.Execute(form_.Handle(), "open", written.pages.front().first);
}

namespace {

// The image's pieces through the program's own file services.
class ImageWriter : public ImageOutput {
public:
    explicit ImageWriter(FileWriter& file) : file_(file) {}
    bool Write(const char* data, std::size_t size) override { return file_.Write(data, size); }
    bool Commit() override { return file_.Commit(); }
    std::string Failure() const override { return file_.Failure(); }

private:
    FileWriter& file_;
};

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void MediumCheck::MakeDiscImage_Click() {
    // The image holds the folder as it is on disk: the menu as last saved.
    if (unsaved_ && sv_.dialogs.MsgBox("The Menu Editor shows changes to the menu that are not saved yet. The disc "
                                       "image holds the medium as it is on the disk, with the menu as it was last "
                                       "saved.\r\n\r\nMake the image anyway? (To have your changes in it, press No, "
                                       "save them with OK in the Menu Editor, and make the image then.)",
                                       mb::YesNo | mb::Exclamation, Title()) != mb::Yes)
        return;
    FileSystemMedium medium(sv_.files, sv_.app.appPath);
    const CheckResult saved = CheckMedium(medium);
    const std::size_t errors = saved.report.Count(Severity::Error);
    if (errors && sv_.dialogs.MsgBox("The check finds " + Plural(errors, "error", "errors") + " on the medium as it "
                                     "is saved: " + (errors == 1 ? "it" : "they") + " will not work on the reader's "
                                     "PC.\r\n\r\nMake the disc image anyway?",
                                     mb::YesNo | mb::Exclamation, Title()) != mb::Yes)
        return;

    // Beside the program's folder, where the image does not end up on the disc it is made of.
    const std::string& app = sv_.app.appPath;
    const auto slash = app.find_last_of('\\');
    const std::string folder = app.back() == '\\' || slash == std::string::npos ? app : app.substr(0, slash);
    const std::string button = ButtonFromName(saved.menu.caption);
    const auto path = sv_.fileDialogs.SaveFile(form_.Handle(), "Save the Disc Image", folder,
                                               (button == "New Button" ? "Disc" : button) + ".iso", "iso");
    if (!path) return;

    std::vector<std::string> leaveOut;
    if (const auto inside = RelativeToProgram(app, *path)) leaveOut.push_back(*inside);
    DiscImage image(medium, saved.menu.caption, ImageTime(), leaveOut);
    if (!image.Refusals().empty()) {
        std::string names;
        for (std::size_t i = 0; i < image.Refusals().size() && i < 8; ++i)
            names += "\r\n\r\n" + image.Refusals()[i].file + ": " + image.Refusals()[i].what;
        if (image.Refusals().size() > 8) names += "\r\n\r\nAnd " + std::to_string(image.Refusals().size() - 8) + " more.";
        sv_.dialogs.MsgBox("No disc image was written: it cannot hold " +
                               Plural(image.Refusals().size(), "name or file", "names or files") +
                               " as they stand, and it never cuts, renames or leaves out anything. Rename them, then "
                               "make the image again." + names,
                           mb::OkOnly | mb::Critical, Title());
        return;
    }
    std::string why;
    const auto file = sv_.files.BeginFile(*path, why);
    DiscImage::Result made;
    if (!file) {
        made.problem = *path + " cannot be written: " + why + ".";
    } else {
        ImageWriter out(*file);
        ProgressTask task(sv_.progress, "Making the Disc Image", "Writing " + *path);
        made = image.Write(out, [&](std::uint64_t done, std::uint64_t total) { return task->Report(done, total); });
    }
    if (made.outcome == DiscImage::Outcome::Cancelled) return;  // nothing is left behind
    if (made.outcome != DiscImage::Outcome::Written) {
        sv_.dialogs.MsgBox("No disc image was written: " + made.problem, mb::OkOnly | mb::Critical, Title());
        return;
    }
    std::string size;
    for (const Finding& note : image.Notes())
        if (note.code == "N-IMAGE-SIZE" || note.code == "N-IMAGE-LABEL") size += "\r\n\r\n" + note.what;
    if (sv_.dialogs.MsgBox("The disc image has been written:\r\n" + *path + size +
                               "\r\n\r\nDo you want to open it now? Windows offers to burn it to a disc, or shows "
                               "what it holds.",
                           mb::YesNo | mb::Information, Title()) == mb::Yes)
        sv_.shell.Execute(form_.Handle(), "open", *path);
}

void MediumCheck::CloseButton_Click() { form_.Close(); }
