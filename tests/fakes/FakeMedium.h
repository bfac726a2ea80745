#pragma once
// A medium in the fake file system: the folder `root` and everything below it.
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

private:
    FakeFileSystem& fs_;
    std::string root_;
};
