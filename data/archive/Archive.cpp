#include "data/archive/Archive.h"

#include <algorithm>
#include <functional>

#include "data/archive/Windows1252.h"

namespace {
constexpr uint16_t kNullTag = 0;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr size_t kMaxClassNameLength = 63;
}  // namespace

namespace {
constexpr size_t kSinkChunkBytes = 1 << 20;
// Small enough to stay in the cache while it is decoded.
constexpr size_t kSourceWindowBytes = 256 << 10;
}  // namespace

CArchive::CArchive(std::span<const uint8_t> bytes)
    : m_storing(false), m_pos(bytes.data()), m_end(bytes.data() + bytes.size())
{
}

CArchive::CArchive(Source source, uint64_t size)
    : m_storing(false), m_source(std::move(source)), m_unread(size)
{
}

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(Sink sink) : m_storing(true), m_sink(std::move(sink))
{
    m_buffer = std::make_unique_for_overwrite<uint8_t[]>(kSinkChunkBytes);
    m_capacity = kSinkChunkBytes;
}

void CArchive::Fail(const char* what)
{
    throw ArchiveError(what);
}

void CArchive::Refill(size_t n)
{
    if (n > Remaining())
        Fail("archive ends early");
    // The bytes left in the window move to its start; the source fills the rest. A window
    // larger than the usual one is only needed for an item of that size, which the check above
    // bounds by the input's size.
    const size_t kept = Buffered();
    const size_t wanted = std::max(n, kSourceWindowBytes);
    if (m_capacity < wanted) {
        auto bigger = std::make_unique_for_overwrite<uint8_t[]>(wanted);
        if (kept > 0)
            std::memcpy(bigger.get(), m_pos, kept);
        m_buffer = std::move(bigger);
        m_capacity = wanted;
    } else if (kept > 0) {
        std::memmove(m_buffer.get(), m_pos, kept);
    }
    uint8_t* const window = m_buffer.get();
    size_t filled = kept;
    while (filled < n) {
        const size_t room = static_cast<size_t>(std::min<uint64_t>(m_capacity - filled, m_unread));
        const size_t got = m_source(window + filled, room);
        if (got == 0 || got > room)
            Fail("source delivered no data");
        filled += got;
        m_unread -= got;
    }
    m_pos = window;
    m_end = window + filled;
}

uint32_t CArchive::ReadCount()
{
    const uint16_t w = ReadWord();
    return w != 0xFFFF ? w : ReadUInt();
}

uint32_t CArchive::ReadCount(size_t minItemBytes)
{
    const uint32_t count = ReadCount();
    RequireItems(count, minItemBytes);
    return count;
}

uint32_t CArchive::StringLength(bool& wide)
{
    wide = false;
    const uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    uint16_t w = ReadWord();
    if (w == 0xFFFE) {
        wide = true;
        const uint8_t wb = ReadByte();
        if (wb < 0xFF)
            return wb;
        w = ReadWord();
    }
    return w < 0xFFFF ? w : ReadUInt();
}

std::string CArchive::ReadString()
{
    bool wide = false;
    const uint32_t length = StringLength(wide);
    RequireItems(length, wide ? 2 : 1);
    if (!wide)
        return Windows1252ToUtf8(
            std::string_view(reinterpret_cast<const char*>(TakeBytes(length)), length));
    std::u16string units(length, u'\0');
    std::memcpy(units.data(), TakeBytes(size_t{length} * 2), size_t{length} * 2);
    return Utf16ToUtf8(units);
}

int CArchive::ResolveClass(const ArchiveClass* cls, std::span<const ArchiveClass> accepted) const
{
    const std::less<const ArchiveClass*> before;
    if (!before(cls, accepted.data()) && before(cls, accepted.data() + accepted.size()))
        return static_cast<int>(cls - accepted.data());
    for (size_t i = 0; i < accepted.size(); ++i)
        if (std::strcmp(accepted[i].name, cls->name) == 0)
            return static_cast<int>(i);
    Fail("object of an unexpected class");
}

const ArchiveClass* CArchive::LoadedClass(uint32_t mapIndex) const
{
    for (const auto& [index, cls] : m_loadedClasses)
        if (index == mapIndex)
            return cls;
    return nullptr;
}

CArchive::ObjectTag CArchive::ReadObjectTag(std::span<const ArchiveClass> accepted)
{
    ObjectTag result;
    const uint16_t word = ReadWord();
    const uint32_t tag = word == kBigObjectTag
                             ? ReadUInt()
                             : (static_cast<uint32_t>(word & kClassTag) << 16) | (word & 0x7FFFu);

    if (!(tag & kBigClassTag)) {
        if (tag == kNullTag)
            return result;
        const auto found = m_mappedObjects.find(tag);
        if (found == m_mappedObjects.end())
            Fail("reference to an object that was not read or cannot be shared");
        result.kind = ObjectTag::Kind::Existing;
        result.cls = found->second.first;
        result.classId = ResolveClass(result.cls, accepted);
        result.object = found->second.second;
        return result;
    }

    if (word == kNewClassTag) {
        const uint16_t schema = ReadWord();
        const uint16_t length = ReadWord();
        if (length > kMaxClassNameLength || length > Remaining())
            Fail("bad class name");
        const std::string_view name(reinterpret_cast<const char*>(TakeBytes(length)), length);
        const auto found = std::find_if(accepted.begin(), accepted.end(),
                                        [&](const ArchiveClass& c) { return name == c.name; });
        if (found == accepted.end())
            Fail("unknown class");
        if (found->schema != schema)
            Fail("unexpected class schema");
        result.cls = &*found;
        m_loadedClasses.emplace_back(m_loadCount++, result.cls);
    } else {
        result.cls = LoadedClass(tag & ~kBigClassTag);
        if (result.cls == nullptr)
            Fail("bad class index");
    }
    result.kind = ObjectTag::Kind::New;
    result.classId = ResolveClass(result.cls, accepted);
    result.mapIndex = m_loadCount++;
    return result;
}

void CArchive::SetMappedObject(const ObjectTag& tag, void* object)
{
    if (tag.kind != ObjectTag::Kind::New || tag.mapIndex == 0 || tag.mapIndex >= m_loadCount)
        Fail("bad object index");
    m_mappedObjects[tag.mapIndex] = {tag.cls, object};
}

void CArchive::Grow(size_t extra)
{
    if (m_sink) {
        Flush();
        if (extra <= m_capacity)
            return;
    }
    const size_t capacity = std::max({m_capacity * 2, m_size + extra, size_t{4096}});
    auto bigger = std::make_unique_for_overwrite<uint8_t[]>(capacity);
    if (m_size > 0)
        std::memcpy(bigger.get(), m_buffer.get(), m_size);
    m_buffer = std::move(bigger);
    m_capacity = capacity;
}

void CArchive::Reserve(size_t totalBytes)
{
    if (!m_sink && totalBytes > m_capacity)
        Grow(totalBytes - m_size);
}

void CArchive::Flush()
{
    if (m_sink && m_size > 0) {
        m_sink({m_buffer.get(), m_size});
        m_size = 0;
    }
}

void CArchive::PutBytes(const void* data, size_t n)
{
    if (n == 0)
        return;
    if (m_capacity - m_size < n) {
        if (m_sink && n > m_capacity) {
            Flush();
            m_sink({static_cast<const uint8_t*>(data), n});
            return;
        }
        Grow(n);
    }
    std::memcpy(m_buffer.get() + m_size, data, n);
    m_size += n;
}

void CArchive::WriteCount(uint32_t count)
{
    if (count < 0xFFFF) {
        WriteWord(static_cast<uint16_t>(count));
    } else {
        WriteWord(0xFFFF);
        WriteUInt(count);
    }
}

void CArchive::WriteString(const std::string& utf8)
{
    const std::string text = Utf8ToWindows1252(utf8);
    const size_t length = text.size();
    if (length >= 0xFFFFFFFFu)
        Fail("string too long to store");
    if (length < 0xFF) {
        WriteByte(static_cast<uint8_t>(length));
    } else {
        WriteByte(0xFF);
        if (length < 0xFFFE) {
            WriteWord(static_cast<uint16_t>(length));
        } else {
            WriteWord(0xFFFF);
            WriteUInt(static_cast<uint32_t>(length));
        }
    }
    PutBytes(text.data(), length);
}

uint32_t CArchive::WriteNewObjectTag(const ArchiveClass& cls)
{
    auto known = std::find_if(m_storedClasses.begin(), m_storedClasses.end(),
                              [&](const auto& c) { return c.first == &cls; });
    if (known == m_storedClasses.end())
        known = std::find_if(m_storedClasses.begin(), m_storedClasses.end(), [&](const auto& c) {
            return std::strcmp(c.first->name, cls.name) == 0;
        });
    m_repeatClass = nullptr;
    uint32_t classIndex = 0;
    if (known == m_storedClasses.end()) {
        const size_t length = std::strlen(cls.name);
        if (length > kMaxClassNameLength)
            Fail("class name too long");
        WriteWord(kNewClassTag);
        WriteWord(cls.schema);
        WriteWord(static_cast<uint16_t>(length));
        PutBytes(cls.name, length);
        classIndex = m_storeCount++;
        m_storedClasses.emplace_back(&cls, classIndex);
    } else {
        classIndex = known->second;
        if (classIndex >= kBigObjectTag) {
            WriteWord(kBigObjectTag);
            WriteUInt(kBigClassTag | classIndex);
            return m_storeCount++;
        }
        WriteWord(static_cast<uint16_t>(kClassTag | classIndex));
    }
    // Further objects of this class carry the class index alone.
    if (classIndex < kBigObjectTag) {
        m_repeatClass = &cls;
        m_repeatTag = static_cast<uint16_t>(kClassTag | classIndex);
    }
    return m_storeCount++;
}

void CArchive::WriteObjectReference(uint32_t mapIndex)
{
    if (mapIndex == 0 || mapIndex >= m_storeCount)
        Fail("reference to an object not written");
    if (mapIndex < kBigObjectTag) {
        WriteWord(static_cast<uint16_t>(mapIndex));
    } else {
        WriteWord(kBigObjectTag);
        WriteUInt(mapIndex);
    }
}
