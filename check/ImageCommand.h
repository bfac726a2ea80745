#pragma once
// orvelund-check --iso IMAGE: the checked medium as a disc image, from the command line.
#include <optional>
#include <string>
#include <vector>

#include "check/Checker.h"
#include "check/CommandLine.h"

struct ImageOptions {
    std::string image;                 // the image's file; empty when none was asked for
    std::optional<std::string> label;  // --label; the menu's title otherwise
    bool force = false;                // --force: made despite the check's errors
};

// Takes --iso IMAGE, --label TEXT and --force out of `args` (up to a "--"). Returns what is wrong
// with them in words for the command line, empty when nothing is.
std::string TakeImageOptions(std::vector<std::string>& args, ImageOptions& options);

// Makes the image of the medium at `folder` that `result` checked, and reports it after the check's
// report: as text, or as the "image" member of the JSON report when `json`. With `showProgress`
// (standard error is a terminal) the image's progress goes there; Ctrl+C cancels it. Returns the
// exit status: the check's when the image was written, 2 when it was not.
int MakeImage(const ImageOptions& options, const std::string& folder, Medium& medium, const CheckResult& result,
              bool json, const Writer& write, bool showProgress);
