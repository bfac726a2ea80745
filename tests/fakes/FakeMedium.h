#pragma once
// A medium in the fake file system: the folder `root` and everything below it.
#include <algorithm>

#include "check/Medium.h"
#include "tests/fakes/FakeFileSystem.h"

class FakeMedium : public Medium {
public:
    FakeMedium(FakeFileSystem& fs, std::string root) : fs_(fs), root_(std::move(root)) {}

    std::vector<MediumItem> List() override {
        std::vector<MediumItem> items;
        for (const auto& t : fs_.Tree(root_))
            items.push_back({t.path, t.folder, t.size, !fs_.Locked(root_ + "\\" + t.path)});
        return items;
    }
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override {
        const std::string full = root_ + "\\" + path;
        if (!fs_.Has(full) || fs_.Locked(full)) return std::nullopt;
        return fs_.Content(full).substr(0, maxBytes);
    }
    // In pieces of an odd size, so that whatever reads them meets line ends and characters cut
    // between two pieces.
    bool Stream(const std::string& path, const PieceSink& sink) override {
        const std::string full = root_ + "\\" + path;
        if (!fs_.Has(full) || fs_.Locked(full)) return false;
        const std::string& bytes = fs_.Content(full);
        for (std::size_t at = 0; at < bytes.size(); at += kPiece)
            if (!sink(bytes.data() + at, std::min(kPiece, bytes.size() - at))) break;
        return true;
    }
    static constexpr std::size_t kPiece = 4093;

private:
    FakeFileSystem& fs_;
    std::string root_;
};
