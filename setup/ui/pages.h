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
// The last page: setup ends after it, whatever follows in the script.
INT_PTR ShowFinishPage();
