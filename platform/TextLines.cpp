#include "platform/TextLines.h"

#include <algorithm>
#include <cstring>

void LineSplitter::EndLine() {
    if (lineNo_ >= skip_ && lines_.size() < count_) lines_.push_back(std::move(current_));
    current_.clear();
    partial_ = false;
    ++lineNo_;
}

namespace {

// Line ends in a piece: every LF, and every CR not followed by an LF inside the piece.
std::size_t CountLineEnds(const char* p, std::size_t n) {
    std::size_t ends = 0;
    for (std::size_t i = 0; i < n; ++i)
        ends += (p[i] == '\n') | (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'));
    return ends;
}

}  // namespace

bool LineSplitter::Feed(const char* data, std::size_t size) {
    // Pieces of a few kilobytes that lie wholly among the lines to skip are only counted, which
    // keeps a page deep in a long menu quick to reach.
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < size && !Done(); at += kBlock) {
        const std::size_t n = std::min(kBlock, size - at);
        const char* block = data + at;
        const std::size_t lead = pendingCR_ && block[0] == '\n' ? 1 : 0;
        const std::size_t ends = CountLineEnds(block + lead, n - lead);
        if (lineNo_ + ends < skip_) {
            lineNo_ += ends;
            const char last = block[n - 1];
            pendingCR_ = last == '\r';
            partial_ = last != '\r' && last != '\n';
            continue;
        }
        FeedBlock(block, n);
    }
    return !Done();
}

void LineSplitter::FeedBlock(const char* data, std::size_t size) {
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
            return;
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
