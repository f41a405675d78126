// How the starter tells setup that the medium it runs from is its own: the
// files at the top unpacked into a new folder that only this user may use
// and that goes once setup has ended, the files in the medium's folders left
// in the package (payload::StaysInPackage), which setup reads them from.
#pragma once

// Set by the starter for setup alone, to the folder's full path.
constexpr char kUnpackedMediumVariable[] = "TESSEL_UNPACKED_MEDIUM";
// Three handles that setup inherits, in decimal, separated by spaces: the
// starter's own file, which holds the package (opened for setup alone, so
// that the two read it each at their own place; no one can write to it
// while either holds it open); an event that the starter sets once the
// files that stay in the package are found whole; and the starter's
// process. Setup installs nothing before the event is set; where the
// starter ends first, or finds a file damaged and ends setup, nothing is.
constexpr char kPackageHandlesVariable[] = "TESSEL_PACKAGE_HANDLES";

// What the starter, and setup when a file in it decodes wrong, say of a
// damaged package (caption "Setup", a stop sign) before they end with -11.
constexpr char kDamagedPackageMessage[] = "The installation package is damaged. Please download it again.";
constexpr int kExitDamagedPackage = -11;
