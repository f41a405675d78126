#include "setup/install/text/folder_rights.h"

#include <initializer_list>

namespace {

constexpr uint8_t kAclRevision = 2;
constexpr uint8_t kAccessAllowedAce = 0;
constexpr uint8_t kObjectAndContainerInherit = 0x01 | 0x02;
constexpr uint32_t kFileAllAccess = 0x001F01FF;
constexpr uint32_t kFileReadAndExecute = 0x001200A9;  // FILE_GENERIC_READ | FILE_GENERIC_EXECUTE
constexpr uint32_t kLocalSystem = 18;                  // S-1-5-18
constexpr uint32_t kBuiltinDomain = 32;                // S-1-5-32-...
constexpr uint32_t kAdministrators = 544;
constexpr uint32_t kUsers = 545;

void Append16(std::vector<uint8_t>& bytes, uint32_t value)
{
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(std::vector<uint8_t>& bytes, uint32_t value)
{
    Append16(bytes, value);
    Append16(bytes, value >> 16);
}

// A SID of the NT authority (S-1-5-...).
std::vector<uint8_t> NtAuthoritySid(std::initializer_list<uint32_t> subAuthorities)
{
    std::vector<uint8_t> sid = {1, static_cast<uint8_t>(subAuthorities.size())};  // revision, count
    for (const uint8_t authority : {0, 0, 0, 0, 0, 5})  // big-endian, as SIDs hold it
        sid.push_back(authority);
    for (const uint32_t subAuthority : subAuthorities)
        Append32(sid, subAuthority);
    return sid;
}

void AppendAllowedAce(std::vector<uint8_t>& bytes, uint32_t mask, const std::vector<uint8_t>& sid)
{
    bytes.push_back(kAccessAllowedAce);
    bytes.push_back(kObjectAndContainerInherit);
    Append16(bytes, static_cast<uint32_t>(8 + sid.size()));
    Append32(bytes, mask);
    bytes.insert(bytes.end(), sid.begin(), sid.end());
}

}  // namespace

std::vector<uint8_t> InstallFolderAcl()
{
    std::vector<uint8_t> aces;
    AppendAllowedAce(aces, kFileAllAccess, NtAuthoritySid({kLocalSystem}));
    AppendAllowedAce(aces, kFileAllAccess, AdministratorsSid());
    AppendAllowedAce(aces, kFileReadAndExecute, NtAuthoritySid({kBuiltinDomain, kUsers}));
    std::vector<uint8_t> acl = {kAclRevision, 0};
    Append16(acl, static_cast<uint32_t>(8 + aces.size()));
    Append16(acl, 3);  // SYSTEM, administrators, users
    Append16(acl, 0);
    acl.insert(acl.end(), aces.begin(), aces.end());
    return acl;
}

std::vector<uint8_t> AdministratorsSid()
{
    return NtAuthoritySid({kBuiltinDomain, kAdministrators});
}
