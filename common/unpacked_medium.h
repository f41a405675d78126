// How the starter tells setup that the medium it runs from is a copy of its
// own: unpacked into a new folder that only this user may use, and removed
// once setup has ended. Setup may then give a file of that folder its
// installed name as well (a second link) instead of copying its bytes again.
#pragma once

// Set by the starter for setup alone, to the folder's full path.
constexpr char kUnpackedMediumVariable[] = "TESSEL_UNPACKED_MEDIUM";
