// Starting what the finish page offers: a program, a document or a web
// address, as the user who started setup where the system allows it.
#pragma once

#include <string>

// Starts `target` with its default verb (a program runs, a document or web
// address opens in the program associated with it), with `arguments`, in
// `folder` (empty: the system's choice). From Windows Vista on, setup runs
// with administrator rights; there the desktop's shell, which runs as the
// user who started setup, is asked to start it, so that it gets only that
// user's rights. Where no shell answers (another shell, none running),
// setup starts it itself, with its own rights. False when nothing started.
bool StartForUser(const std::string& target, const std::string& arguments, const std::string& folder);
