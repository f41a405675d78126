// How Unskein reaches what the log names from the installation folder.
#pragma once

#include <string>

enum class Reach { kNothing, kThroughLink, kDirect };

// How `path` is reached from the installation folder. Whoever could write
// there may have replaced a folder by a junction or symbolic link that
// leads anywhere. Both are compared in their short forms, since the log
// names files by their short paths and folders by their long ones.
Reach ReachFromInstallFolder(const std::string& path, const std::string& installFolder);
