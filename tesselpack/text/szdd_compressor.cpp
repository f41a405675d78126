// Optimal parse: a binary-tree match finder gives the longest match at every
// position (any shorter length is then available at the same distance), and
// a shortest-path pass over the positions picks literals (9 bits) and matches
// (17 bits) so that the total is the least the format allows.
#include <algorithm>
#include <cstring>

#include "common/text/szdd_header.h"
#include "tesselpack/text/szdd.h"

using namespace szdd;

namespace {

// The expander's window starts out filled with spaces, so a file may match
// against spaces before its first byte. kMaxMatch of them cover every such
// match.
constexpr int kPrefix = kMaxMatch;
// The farthest distance that reads a byte already written: at 4,096 the
// expander would read the slot it is about to write.
constexpr int kMaxDistance = kWindow - 1;
constexpr int32_t kNone = -1;
// Bytes after the data that the eight-byte comparisons may read.
constexpr size_t kSlack = 8;
constexpr int kHashBits = 16;

struct Match {
    int length = 0;
    int distance = 0;
};

uint32_t Hash3(const uint8_t* p)
{
    const uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

// How far `a` and `b` agree from `from` on, up to `limit`; reads up to
// kSlack bytes past `limit`, eight at a time.
int CommonLength(const uint8_t* a, const uint8_t* b, int from, int limit)
{
    for (int length = from; length < limit; length += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + length, 8);
        std::memcpy(&y, b + length, 8);
        if (x != y)
            return std::min(limit, length + (__builtin_ctzll(x ^ y) >> 3));
    }
    return limit;
}

// Binary trees of the strings in the window, one per hash of their first
// three bytes, ordered by their first kMaxMatch bytes; each insertion makes
// the new string the root, so every subtree holds only older strings and a
// string that left the window cuts off everything below it.
class MatchFinder {
public:
    MatchFinder(const uint8_t* buffer, size_t size)
        : buffer_(buffer), size_(size), heads_(size_t(1) << kHashBits, kNone), children_(2 * kWindow, kNone)
    {
    }

    // Inserts the string at `pos` and returns the longest earlier match for it.
    Match Insert(size_t pos)
    {
        Match best;
        const int limit = static_cast<int>(std::min<size_t>(kMaxMatch, size_ - pos));
        if (limit < kMinMatch)
            return best;
        const uint8_t* current = buffer_ + pos;
        int32_t& head = heads_[Hash3(current)];
        int32_t candidate = head;
        head = static_cast<int32_t>(pos);

        int32_t* smaller = &children_[2 * (pos % kWindow)];     // where the next smaller string goes
        int32_t* larger = &children_[2 * (pos % kWindow) + 1];  // where the next larger string goes
        int smallerLength = 0, largerLength = 0;                // shared prefix with each side's bound
        for (;;) {
            if (candidate == kNone || pos - candidate > static_cast<size_t>(kMaxDistance)) {
                *smaller = *larger = kNone;
                return best;
            }
            // Unsigned, so that the remainder is a mask.
            int32_t* pair = &children_[2 * (static_cast<size_t>(candidate) % kWindow)];
            const uint8_t* other = buffer_ + candidate;
            const int length = CommonLength(other, current, std::min(smallerLength, largerLength), limit);
            if (length > best.length) {
                best.length = length;
                best.distance = static_cast<int>(pos - candidate);
            }
            if (length == limit) {
                // Equal as far as matches reach: the newer string takes its place.
                *smaller = pair[0];
                *larger = pair[1];
                return best;
            }
            // The candidate joins the side it lies on; the search goes on
            // below it towards the current string.
            const bool below = other[length] < current[length];
            int32_t*& link = below ? smaller : larger;
            *link = candidate;
            link = &pair[below];
            (below ? smallerLength : largerLength) = length;
            candidate = *link;
        }
    }

private:
    const uint8_t* buffer_;
    size_t size_;
    std::vector<int32_t> heads_;
    std::vector<int32_t> children_;
};

// For every position, the length of the item that the cheapest parse starts
// there (1 for a literal), and the distance of the longest match there.
struct Parse {
    std::vector<uint8_t> step;
    std::vector<uint16_t> distance;
};

Parse ParseOptimally(const uint8_t* buffer, size_t size)
{
    const size_t n = size - kPrefix;
    Parse parse;
    parse.step.assign(n + 1, 0);
    parse.distance.assign(n, 0);

    MatchFinder finder(buffer, size);
    for (size_t pos = 0; pos < kPrefix; ++pos)
        finder.Insert(pos);

    // Cheapest cost to reach each position, in bits; only the next kMaxMatch
    // positions are open at a time.
    constexpr uint32_t kUnreached = UINT32_MAX;
    constexpr size_t kRing = 32;
    static_assert(kRing > kMaxMatch, "the ring holds every open position");
    uint32_t cost[kRing];
    std::fill(std::begin(cost), std::end(cost), kUnreached);
    cost[0] = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint32_t here = cost[i % kRing];
        cost[i % kRing] = kUnreached;
        auto relax = [&](size_t to, uint32_t bits, int step) {
            uint32_t& slot = cost[to % kRing];
            if (here + bits >= slot)
                return false;
            slot = here + bits;
            parse.step[to] = static_cast<uint8_t>(step);
            return true;
        };
        relax(i + 1, 9, 1);
        const Match match = finder.Insert(i + kPrefix);
        if (match.length >= kMinMatch) {
            parse.distance[i] = static_cast<uint16_t>(match.distance);
            // Longest first: a position that an earlier match reaches at no
            // more cost has every position before it covered by that match at
            // no more cost too, so the shorter lengths cannot win.
            for (int length = match.length; length >= kMinMatch; --length)
                if (!relax(i + length, 17, length) && parse.step[i + length] >= kMinMatch)
                    break;
        }
    }

    // Walk back from the end and turn "how each position was reached" into
    // "which item starts at each position".
    uint8_t following = 0;
    for (size_t j = n; j > 0;) {
        const uint8_t reachedBy = parse.step[j];
        parse.step[j] = following;
        following = reachedBy;
        j -= reachedBy;
    }
    parse.step[0] = following;
    return parse;
}

class ItemWriter {
public:
    explicit ItemWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Literal(uint8_t byte)
    {
        Begin(true);
        out_.push_back(byte);
    }

    void Match(size_t position, int distance, int length)
    {
        Begin(false);
        const unsigned source = (kFirstWritePosition + position - distance) % kWindow;
        out_.push_back(static_cast<uint8_t>(source & 0xFF));
        out_.push_back(static_cast<uint8_t>(((source >> 4) & 0xF0) | (length - kMinMatch)));
    }

private:
    // Every eight items share a flag byte in front of them: bit set for a literal.
    void Begin(bool literal)
    {
        if (bit_ == 8) {
            flags_ = out_.size();
            out_.push_back(0);
            bit_ = 0;
        }
        if (literal)
            out_[flags_] |= static_cast<uint8_t>(1u << bit_);
        ++bit_;
    }

    std::vector<uint8_t>& out_;
    size_t flags_ = 0;
    int bit_ = 8;
};

}  // namespace

std::vector<uint8_t> CompressSzdd(const uint8_t* data, size_t size, char lastCharacter)
{
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.push_back(kMethodLzss);
    out.push_back(static_cast<uint8_t>(lastCharacter));
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(size) >> shift));
    if (size == 0)
        return out;

    std::vector<uint8_t> buffer;
    buffer.reserve(kPrefix + size + kSlack);
    buffer.assign(kPrefix, ' ');
    buffer.insert(buffer.end(), data, data + size);
    buffer.resize(buffer.size() + kSlack);
    const Parse parse = ParseOptimally(buffer.data(), kPrefix + size);

    out.reserve(out.size() + size / 2 + 16);
    ItemWriter writer(out);
    for (size_t i = 0; i < size;) {
        const int step = parse.step[i];
        if (step == 1)
            writer.Literal(data[i]);
        else
            writer.Match(i, parse.distance[i], step);
        i += step;
    }
    return out;
}

std::string CompressedName(const std::string& name)
{
    return name.empty() ? name : name.substr(0, name.size() - 1) + "_";
}
