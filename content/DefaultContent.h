#pragma once
// The texts the program writes on its own: the first-run menu, the user's guide and autorun.inf.
#include <string>
#include <vector>

#include "common/AppInfo.h"

// The publisher's website, used by the default menu, the user's guide and the update check.
// A reserved example domain: it can never lead a user to somebody else's site.
constexpr const char* kPublisherHost = "www.orvelund.example";

// "2.1.1": major, minor and revision in plain decimal.
std::string VersionText(const Version& v);
// The update page with the version in its address.
std::string UpdateAddress(const Version& v);

// The four entries of the first-run menu, in menu order.
std::vector<std::string> DefaultMenuEntries(const Version& v);

// The user's guide, content\instructions.htm, line by line.
std::vector<std::string> InstructionsPage();

// autorun.inf for a menu whose window shows `caption`; `haveIcon` when content\app.ico exists.
std::vector<std::string> AutoRunLines(const std::string& caption, bool haveIcon, const std::string& exeName);
