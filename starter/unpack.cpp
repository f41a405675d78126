#include "starter/unpack.h"

#include <algorithm>
#include <vector>

#include "common/file_range.h"
#include "common/find_files.h"
#include "common/system_error.h"
#include "common/system_folder.h"
#include "common/system_paths.h"
#include "common/text/solid_reader.h"
#include "common/whole_file.h"

namespace {

// 64 bits from the system's random source; on systems without one (before
// Windows XP) a mix of clocks and ids, which the exclusive creation of the
// folder makes safe anyway.
uint64_t RandomNumber()
{
    uint64_t number = 0;
    using RandomFunction = BOOLEAN(WINAPI*)(PVOID buffer, ULONG length);
    if (const HMODULE advapi = LoadSystemLibrary("advapi32.dll"))
        if (const auto random = reinterpret_cast<RandomFunction>(GetProcAddress(advapi, "SystemFunction036")))
            if (random(&number, sizeof number))
                return number;
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    FILETIME time = {};
    GetSystemTimeAsFileTime(&time);
    const DWORD mix[] = {counter.LowPart, static_cast<DWORD>(counter.HighPart), time.dwLowDateTime,
                         GetCurrentProcessId(), GetTickCount(), GetCurrentThreadId()};
    return static_cast<uint64_t>(payload::Crc32(0, mix, sizeof mix)) << 32 | payload::Crc32(1, mix, sizeof mix);
}

std::string Hex(uint64_t number)
{
    std::string text(16, '0');
    for (size_t i = text.size(); i-- > 0; number >>= 4)
        text[i] = "0123456789abcdef"[number & 15];
    return text;
}

// A security descriptor that lets only this user (and no folder above)
// decide who uses the folder: its files then are the user's alone, even in
// a TEMP folder that others can write to. Windows 2000 and later; elsewhere
// the folder gets the default rights.
class PrivateRights {
public:
    PrivateRights();
    SECURITY_ATTRIBUTES* Attributes() { return ready_ ? &attributes_ : nullptr; }

private:
    bool ready_ = false;
    char user_[256] = {};
    char acl_[512] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
};

PrivateRights::PrivateRights()
{
    const HMODULE advapi = LoadSystemLibrary("advapi32.dll");
    if (!advapi || !IsWindowsNt())
        return;
    auto find = [&](const char* name) { return GetProcAddress(advapi, name); };
    const auto openToken = reinterpret_cast<decltype(&OpenProcessToken)>(find("OpenProcessToken"));
    const auto tokenInformation = reinterpret_cast<decltype(&GetTokenInformation)>(find("GetTokenInformation"));
    const auto sidLength = reinterpret_cast<decltype(&GetLengthSid)>(find("GetLengthSid"));
    const auto initializeAcl = reinterpret_cast<decltype(&InitializeAcl)>(find("InitializeAcl"));
    const auto allow = reinterpret_cast<decltype(&AddAccessAllowedAceEx)>(find("AddAccessAllowedAceEx"));
    const auto initializeDescriptor =
        reinterpret_cast<decltype(&InitializeSecurityDescriptor)>(find("InitializeSecurityDescriptor"));
    const auto setDacl = reinterpret_cast<decltype(&SetSecurityDescriptorDacl)>(find("SetSecurityDescriptorDacl"));
    const auto setControl =
        reinterpret_cast<decltype(&SetSecurityDescriptorControl)>(find("SetSecurityDescriptorControl"));
    if (!openToken || !tokenInformation || !sidLength || !initializeAcl || !allow || !initializeDescriptor ||
        !setDacl || !setControl)
        return;
    HANDLE opened = nullptr;
    if (!openToken(GetCurrentProcess(), TOKEN_QUERY, &opened))
        return;
    const OwnedHandle token(opened);
    DWORD size = 0;
    const BOOL known = tokenInformation(token.get(), TokenUser, user_, sizeof user_, &size);
    PSID sid = reinterpret_cast<TOKEN_USER*>(user_)->User.Sid;
    ACL* acl = reinterpret_cast<ACL*>(acl_);
    ready_ = known && sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + sidLength(sid) <= sizeof acl_ &&
             initializeAcl(acl, sizeof acl_, ACL_REVISION) &&
             allow(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, GENERIC_ALL, sid) &&
             initializeDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             setDacl(&descriptor_, TRUE, acl, FALSE) &&
             setControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}

std::string CannotWrite(const std::string& what, const std::string& folder, DWORD error)
{
    return what + folder + ":\n\n" + SystemErrorSentence(error);
}

void RemoveOrSchedule(const std::string& path, bool isFolder, bool nt)
{
    const bool removed = isFolder ? RemoveDirectoryA(path.c_str()) : DeleteFileA(path.c_str());
    if (!removed && nt)
        MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void RemoveTree(const std::string& folder, bool nt)
{
    ForEachMatch(folder + "\\*", [&](const WIN32_FIND_DATAA& found) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            return;
        const std::string path = folder + "\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return RemoveTree(path, nt);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveOrSchedule(path, false, nt);
    });
    RemoveOrSchedule(folder, true, nt);
}

HANDLE OpenProgramFile()
{
    const std::vector<wchar_t> wide = WideProgramPath();
    if (const auto open = FindWideFunction<decltype(&CreateFileW)>("KERNEL32.DLL", "CreateFileW"); open && !wide.empty())
        return open(wide.data(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return CreateFileA(ProgramPath().path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A failure of the system call, never reported as none.
DWORD LastError()
{
    const DWORD error = GetLastError();
    return error != NO_ERROR ? error : ERROR_READ_FAULT;
}

// The folders of `name` below `folder`, unless they are those of the file
// before: a medium's files come folder by folder, and each call to the
// system costs about as much as writing a small file.
void MakeFoldersOf(const std::string& name, const std::string& folder, std::string& madeFolder)
{
    const std::string parent = name.substr(0, name.rfind('\\') + 1);
    if (parent == madeFolder)
        return;
    for (size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1))
        CreateDirectoryA((folder + "\\" + name.substr(0, slash)).c_str(), nullptr);
    madeFolder = parent;
}

}  // namespace

ProgramFile::ProgramFile() : file_(OpenProgramFile())
{
    if (file_.IsOpen())
        size_ = OpenFileSize(file_.get());
    if (!size_)
        error_ = LastError();
}

bool ProgramFile::ReadAt(uint64_t offset, char* buffer, size_t size)
{
    if (!size_ || offset > *size_ || size > *size_ - offset)
        return false;
    if (ReadExactlyAt(file_.get(), offset, buffer, static_cast<DWORD>(size)))
        return true;
    // A file that ends early is cut, not unreadable.
    if (GetLastError() != NO_ERROR)
        error_ = GetLastError();
    return false;
}

std::string CreatePrivateFolder(Failure& failure)
{
    const SystemPath temp = TemporaryDirectory();
    if (temp.path.empty()) {
        failure = {Failure::kCannotWrite, "Setup cannot find the folder for temporary files (TEMP)."};
        return "";
    }
    if (!temp.spelled) {
        failure = {Failure::kCannotWrite,
                   UnspelledFolderText(temp.path) +
                       "\n\nSetup unpacks the installation files into this folder for temporary files (TEMP). Set "
                       "TEMP to another folder, such as C:\\Temp, and start setup again."};
        return "";
    }
    std::string base = temp.path;
    if (base.back() != '\\')
        base += '\\';
    PrivateRights rights;
    DWORD error = ERROR_ALREADY_EXISTS;
    // Someone may have made a folder of this name; another is tried then,
    // never that one used.
    for (int attempt = 0; attempt < 100 && error == ERROR_ALREADY_EXISTS; ++attempt) {
        const std::string folder = base + "Tessel-" + Hex(RandomNumber());
        if (CreateDirectoryA(folder.c_str(), rights.Attributes()))
            return folder;
        error = GetLastError();
    }
    failure = {Failure::kCannotWrite,
               CannotWrite("Setup cannot create a folder for the installation files in ", base, error)};
    return "";
}

Failure Unpack(ProgramFile& program, const payload::Package& package, const std::string& folder,
               payload::Progress* progress)
{
    payload::SolidReader streams(program, package);
    std::string buffer(1 << 16, '\0');
    std::string madeFolder;  // the folder of the last file, whose parts exist
    uint64_t done = 0;
    for (size_t e = 0; e < package.entries.size(); ++e) {
        const payload::Entry& entry = package.entries[e];
        if (payload::StaysInPackage(entry))
            continue;
        const std::string path = folder + "\\" + entry.name;
        MakeFoldersOf(entry.name, folder, madeFolder);
        // Never a file that is there already: the folder is new, so it was planted.
        OwnedHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file.IsOpen())
            return {Failure::kCannotWrite,
                    CannotWrite("Setup cannot unpack the installation files into ", folder, GetLastError())};
        uint32_t crc = 0;
        for (uint64_t at = 0; at < entry.size;) {
            const size_t chunk = static_cast<size_t>(std::min<uint64_t>(entry.size - at, buffer.size()));
            const bool read = entry.InStream() ? streams.Read(e, at, &buffer[0], chunk)
                                               : program.ReadAt(package.dataOffset + entry.offset + at, &buffer[0], chunk);
            if (!read)
                return {program.Error() ? Failure::kCannotRead : Failure::kDamaged, ""};
            // The reader checks a file in a stream as its last byte is decoded.
            if (!entry.InStream())
                crc = payload::Crc32(crc, buffer.data(), chunk);
            if (!WriteAll(file.get(), std::string_view(buffer.data(), chunk)))
                return {Failure::kCannotWrite,
                        CannotWrite("Setup cannot unpack the installation files into ", folder, GetLastError())};
            at += chunk;
            done += chunk;
            if (progress)
                progress->Advance(done);
        }
        if (!entry.InStream() && crc != entry.crc)
            return {Failure::kDamaged, ""};
    }
    return {};
}

void RemoveFolder(const std::string& folder)
{
    const bool nt = IsWindowsNt();
    // The program that just ended may still hold its file for a moment:
    // tried again every 10 ms, for two seconds.
    for (int attempt = 0; attempt < 200; ++attempt) {
        RemoveTree(folder, false);
        if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
            return;
        Sleep(10);
    }
    RemoveTree(folder, nt);
}
