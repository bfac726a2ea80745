#include "platform/TextLines.h"

#include <cstring>

void LineSplitter::EndLine() {
    if (lineNo_ >= skip_ && lines_.size() < count_) lines_.push_back(std::move(current_));
    current_.clear();
    partial_ = false;
    ++lineNo_;
}

bool LineSplitter::Feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* end = data + size;
    if (pendingCR_ && p < end) {
        if (*p == '\n') ++p;
        pendingCR_ = false;
    }
    while (p < end && !Done()) {
        // Find the next CR or LF with memchr, which is much faster than a byte loop on the long
        // stretches a reader skips.
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        const char* eol = cr ? cr : lf;
        if (!eol) {
            if (lineNo_ >= skip_) current_.append(p, end);
            partial_ = true;
            return !Done();
        }
        if (lineNo_ >= skip_) current_.append(p, eol);
        p = eol + 1;
        EndLine();
        if (*eol == '\r') {
            if (p < end) {
                if (*p == '\n') ++p;
            } else {
                pendingCR_ = true;
            }
        }
    }
    return !Done();
}

void LineSplitter::Finish() {
    if (partial_ && !Done()) EndLine();
}

std::vector<std::string> SplitLines(const std::string& text, std::size_t skip, std::size_t count) {
    LineSplitter splitter(skip, count);
    splitter.Feed(text.data(), text.size());
    splitter.Finish();
    return std::move(splitter.Lines());
}
