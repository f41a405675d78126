// How the starter tells setup that the medium it runs from is its own: the
// files at the top unpacked into a new folder that only this user may use
// and that goes once setup has ended, the files in the medium's folders left
// in the package (payload::StaysInPackage), which setup reads them from.
#pragma once

// Set by the starter for setup alone, to the folder's full path.
constexpr char kUnpackedMediumVariable[] = "TESSEL_UNPACKED_MEDIUM";
// The starter's own file, which holds the package, as a handle that setup
// inherits, in decimal: read through it, the package is the one the starter
// checked, which no one can write to while the starter holds it open.
constexpr char kPackageHandleVariable[] = "TESSEL_PACKAGE_HANDLE";
