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

CArchive::CArchive(std::span<const uint8_t> bytes)
    : m_storing(false), m_pos(bytes.data()), m_end(bytes.data() + bytes.size())
{
    m_loadMap.push_back({nullptr, nullptr, false});
}

CArchive::CArchive() : m_storing(true) {}

void CArchive::Fail(const char* what)
{
    throw ArchiveError(what);
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

void CArchive::RequireItems(uint64_t count, size_t minItemBytes) const
{
    if (minItemBytes > 0 && count > Remaining() / minItemBytes)
        Fail("count larger than the data left");
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
    if (!wide) {
        std::string_view text(reinterpret_cast<const char*>(m_pos), length);
        m_pos += length;
        return Windows1252ToUtf8(text);
    }
    std::u16string units(length, u'\0');
    std::memcpy(units.data(), m_pos, size_t{length} * 2);
    m_pos += size_t{length} * 2;
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
        if (tag >= m_loadMap.size())
            Fail("reference to an object not read yet");
        const MapEntry& entry = m_loadMap[tag];
        if (entry.isClass || entry.object == nullptr)
            Fail("reference to a class where an object was expected");
        result.kind = ObjectTag::Kind::Existing;
        result.classId = ResolveClass(entry.cls, accepted);
        result.object = entry.object;
        return result;
    }

    const ArchiveClass* cls = nullptr;
    if (word == kNewClassTag) {
        const uint16_t schema = ReadWord();
        const uint16_t length = ReadWord();
        if (length > kMaxClassNameLength || length > Remaining())
            Fail("bad class name");
        const std::string_view name(reinterpret_cast<const char*>(m_pos), length);
        m_pos += length;
        const auto found = std::find_if(accepted.begin(), accepted.end(),
                                        [&](const ArchiveClass& c) { return name == c.name; });
        if (found == accepted.end())
            Fail("unknown class");
        if (found->schema != schema)
            Fail("unexpected class schema");
        cls = &*found;
        m_loadMap.push_back({cls, nullptr, true});
    } else {
        const uint32_t classIndex = tag & ~kBigClassTag;
        if (classIndex == 0 || classIndex >= m_loadMap.size() || !m_loadMap[classIndex].isClass)
            Fail("bad class index");
        cls = m_loadMap[classIndex].cls;
    }
    result.kind = ObjectTag::Kind::New;
    result.classId = ResolveClass(cls, accepted);
    result.mapIndex = static_cast<uint32_t>(m_loadMap.size());
    m_loadMap.push_back({cls, nullptr, false});
    return result;
}

void CArchive::SetMappedObject(uint32_t mapIndex, void* object)
{
    if (mapIndex == 0 || mapIndex >= m_loadMap.size() || m_loadMap[mapIndex].isClass)
        Fail("bad object index");
    m_loadMap[mapIndex].object = object;
}

void CArchive::Grow(size_t extra)
{
    const size_t capacity = std::max({m_capacity * 2, m_size + extra, size_t{4096}});
    auto bigger = std::make_unique_for_overwrite<uint8_t[]>(capacity);
    if (m_size > 0)
        std::memcpy(bigger.get(), m_buffer.get(), m_size);
    m_buffer = std::move(bigger);
    m_capacity = capacity;
}

void CArchive::Reserve(size_t totalBytes)
{
    if (totalBytes > m_capacity)
        Grow(totalBytes - m_size);
}

void CArchive::PutBytes(const void* data, size_t n)
{
    if (n == 0)
        return;
    if (m_capacity - m_size < n)
        Grow(n);
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

uint32_t CArchive::WriteNewObject(const ArchiveClass& cls)
{
    auto known = std::find_if(m_storedClasses.begin(), m_storedClasses.end(),
                              [&](const auto& c) { return c.first == &cls; });
    if (known == m_storedClasses.end())
        known = std::find_if(m_storedClasses.begin(), m_storedClasses.end(), [&](const auto& c) {
            return std::strcmp(c.first->name, cls.name) == 0;
        });
    if (known == m_storedClasses.end()) {
        const size_t length = std::strlen(cls.name);
        if (length > kMaxClassNameLength)
            Fail("class name too long");
        WriteWord(kNewClassTag);
        WriteWord(cls.schema);
        WriteWord(static_cast<uint16_t>(length));
        PutBytes(cls.name, length);
        m_storedClasses.emplace_back(&cls, m_storeCount++);
    } else if (known->second < kBigObjectTag) {
        WriteWord(static_cast<uint16_t>(kClassTag | known->second));
    } else {
        WriteWord(kBigObjectTag);
        WriteUInt(kBigClassTag | known->second);
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
