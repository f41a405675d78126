// The questions and messages of the installation engine. The program shows
// them as message boxes and dialogs; the engine only sees the answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class MessageOwner {
    kNone,
    kBackground,  // the background window, as for disk prompts
    kPage,        // the current page
};

// The answer to dialog 115 or 116: the file, not the file, or this one and
// every later one without asking.
enum class ConflictAnswer { kNo = 0, kYes = 1, kAll = 2 };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A message box with MessageBoxA's style bits; returns the button pressed.
    virtual int ShowMessage(MessageOwner owner, const std::string& text, const std::string& caption,
                            UINT style) = 0;
    // Dialog 115, about a language or code page conflict between the shared
    // file `source` and the installed `target`: kAll is Install all.
    virtual ConflictAnswer AskLanguageConflict(const std::string& source, const std::string& target) = 0;
    // Dialog 116, before the existing private file `target` is overwritten:
    // kAll is Overwrite every file.
    virtual ConflictAnswer AskOverwrite(const std::string& target) = 0;
};

// A message box without owner and with only an OK button.
void Inform(Prompter& prompter, const std::string& text, const std::string& caption);

enum class DiskAnswer {
    kRetry,         // look for the source again
    kIgnore,        // give this file up
    kQuit,          // the user confirmed quitting setup, or the prompt could not be shown
    kQuitDeclined,  // the user chose Abort but then did not confirm
};

// The question of the pages' Cancel button, asked again behind the disk
// prompt's Abort.
extern const char kQuitQuestion[];
extern const char kQuitCaption[];

// The prompt for the disk that holds a missing source, and the quit
// question behind its Abort button.
DiskAnswer AskForDisk(Prompter& prompter, int16_t disk, const std::string& caption);
