// The wizard pages the script opens. Each returns the page's result: 0 goes
// on with the next entry, anything else ends setup.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

INT_PTR ShowWelcomePage();
INT_PTR ShowDestinationPage();
INT_PTR ShowSectionsPage();
INT_PTR ShowProgramGroupPage();
// The licence page shows `file` with the choice to accept it; the text page
// shows it under `title`. A file that cannot be read is said and ends them
// with kPageUnreadable.
INT_PTR ShowLicencePage(const std::string& file);
INT_PTR ShowTextPage(const std::string& file, const std::string& title);
// The last page: setup ends after it, whatever follows in the script.
INT_PTR ShowFinishPage();
