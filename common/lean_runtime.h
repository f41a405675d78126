// Included before everything else in a program built without exceptions and
// run-time type information (setup, Unskein, the starter): the standard
// library's string code is then compiled into the program, without
// exceptions, instead of being taken from the runtime's prebuilt copy, which
// would bring the exception machinery and its unwinder, two thirds of a
// small program. lean_runtime.cpp ends the program where the runtime would
// throw.
#pragma once

#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
