// What AddShortcut's and AddFinishAction's words mean, for setup and the
// script checker alike: the places of shortcuts, the kinds of finish
// actions, and how a target or an icon is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ShortcutPlace { kGroup, kDesktop, kStartMenu, kStartup, kQuickLaunch, kSendTo, kFolder, kUnknown };

// The place a script names: one of the words, or a folder written with a
// final backslash.
ShortcutPlace PlaceOf(const std::string& place);
// The words, for messages.
const std::vector<std::string>& ShortcutPlaceWords();

// "RUN" and "OPEN", exactly.
const std::vector<std::string>& FinishActionKinds();

// A web address ("https://...", "mailto:..."): opened, never looked for as a file.
bool IsWebAddress(const std::string& target);
// "C:\..." or "\\server\...".
bool IsAbsolutePath(const std::string& path);

// An icon written as "path,index"; a text without a comma is a path with index 0.
struct IconLocation {
    std::string path;
    int32_t index = 0;
};
IconLocation SplitIconLocation(const std::string& icon);
