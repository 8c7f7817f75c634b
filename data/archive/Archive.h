#pragma once
// The persistent-object archive that document files are written in: little-endian
// primitives, counts, strings and object references that share one class-and-object map for
// the whole stream. Loading decodes a memory buffer (the whole input, or a window a source
// refills) and checks every length against the bytes left before it allocates; storing appends
// to a growing buffer. Strings are UTF-8 in memory and Windows-1252 on disk.
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

static_assert(std::endian::native == std::endian::little, "the archive copies values as stored");

// Malformed or truncated input; the document turns it into "Unexpected file format.".
class ArchiveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A serializable class as it is named in the stream.
struct ArchiveClass {
    const char* name;  // at most 63 characters
    uint16_t schema;
};

class CArchive {
public:
    explicit CArchive(std::span<const uint8_t> bytes);  // loading from `bytes` (not copied)
    // Loading `size` bytes that `source` delivers in pieces: it fills up to `max` bytes at `out`
    // and returns how many, at least 1 (it throws when it cannot).
    using Source = std::function<size_t(uint8_t* out, size_t max)>;
    CArchive(Source source, uint64_t size);
    CArchive();  // storing into an internal buffer
    // Storing through `sink`, which receives the bytes in chunks (and throws if it fails).
    using Sink = std::function<void(std::span<const uint8_t>)>;
    explicit CArchive(Sink sink);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // ---- loading
    size_t Remaining() const { return Buffered() + m_unread; }
    uint8_t ReadByte() { return Take<uint8_t>(); }
    uint16_t ReadWord() { return Take<uint16_t>(); }
    int32_t ReadInt() { return Take<int32_t>(); }
    uint32_t ReadUInt() { return Take<uint32_t>(); }
    double ReadDouble() { return Take<double>(); }
    // A word, or after the word 0xFFFF a 32-bit value.
    uint32_t ReadCount();
    // A count of items that take at least `minItemBytes` each; rejected if they cannot fit in
    // the bytes left.
    uint32_t ReadCount(size_t minItemBytes);
    // The next `n` bytes, to decode in place; rejected if fewer are left.
    const uint8_t* TakeBytes(size_t n)
    {
        if (Buffered() < n)
            Refill(n);
        const uint8_t* bytes = m_pos;
        m_pos += n;
        return bytes;
    }
    // Checks that `count` items of `minItemBytes` each can still follow.
    void RequireItems(uint64_t count, size_t minItemBytes) const
    {
        if (minItemBytes > 0 && count > Remaining() / minItemBytes)
            Fail("count larger than the data left");
    }
    // Single-byte or wide string, returned as UTF-8.
    std::string ReadString();

    struct ObjectTag {
        enum class Kind { Null, New, Existing };
        Kind kind = Kind::Null;
        int classId = -1;        // index into the accepted classes (New, Existing)
        void* object = nullptr;  // Existing: the object read earlier
        uint32_t mapIndex = 0;   // New: the index reserved for the object
        const ArchiveClass* cls = nullptr;  // the class as read
    };
    // Reads an object reference whose class must be one of `accepted` (a table that outlives
    // the archive). A new object that later references may point back to must be registered with
    // SetMappedObject before its record is read; a reference to an unregistered object fails.
    ObjectTag ReadObjectTag(std::span<const ArchiveClass> accepted);
    void SetMappedObject(const ObjectTag& tag, void* object);

    // ---- storing
    void WriteByte(uint8_t v) { Put(v); }
    void WriteWord(uint16_t v) { Put(v); }
    void WriteInt(int32_t v) { Put(v); }
    void WriteUInt(uint32_t v) { Put(v); }
    void WriteDouble(double v) { Put(v); }
    void WriteCount(uint32_t count);
    void WriteString(const std::string& utf8);  // written as Windows-1252
    void WriteNullObject() { WriteWord(0); }
    // Tag of a new object (the class record on the class's first use); returns the object's map
    // index. Objects of documents have one owner each, so each is written exactly once.
    uint32_t WriteNewObject(const ArchiveClass& cls)
    {
        if (&cls != m_repeatClass)
            return WriteNewObjectTag(cls);
        WriteWord(m_repeatTag);  // a run of objects of one class, such as a set's points
        return m_storeCount++;
    }
    // Reference to an object written earlier.
    void WriteObjectReference(uint32_t mapIndex);
    // Room for `n` more bytes after those stored, filled by the caller before the next store.
    uint8_t* Extend(size_t n)
    {
        if (m_capacity - m_size < n)
            Grow(n);
        uint8_t* room = m_buffer.get() + m_size;
        m_size += n;
        return room;
    }
    void Reserve(size_t totalBytes);  // without a sink: sizes the buffer once
    // Bytes stored and not yet passed to the sink (everything, without a sink).
    std::span<const uint8_t> StoredBytes() const { return {m_buffer.get(), m_size}; }
    void Flush();  // passes the stored bytes to the sink

private:
    [[noreturn]] static void Fail(const char* what);

    size_t Buffered() const { return static_cast<size_t>(m_end - m_pos); }
    // Makes the next `n` bytes contiguous in the window, or fails if fewer are left.
    void Refill(size_t n);
    template <class T>
    T Take()
    {
        if (Buffered() < sizeof(T))
            Refill(sizeof(T));
        T v;
        std::memcpy(&v, m_pos, sizeof(T));
        m_pos += sizeof(T);
        return v;
    }
    template <class T>
    void Put(T v)
    {
        if (m_capacity - m_size < sizeof(T))
            Grow(sizeof(T));
        std::memcpy(m_buffer.get() + m_size, &v, sizeof(T));
        m_size += sizeof(T);
    }
    void PutBytes(const void* data, size_t n);
    uint32_t WriteNewObjectTag(const ArchiveClass& cls);
    void Grow(size_t extra);  // flushes to the sink, or enlarges the buffer
    uint32_t StringLength(bool& wide);

    int ResolveClass(const ArchiveClass* cls, std::span<const ArchiveClass> accepted) const;
    const ArchiveClass* LoadedClass(uint32_t mapIndex) const;

    bool m_storing;
    // loading: map indexes start at 1 (0 means no object); classes and objects share them
    const uint8_t* m_pos = nullptr;
    const uint8_t* m_end = nullptr;
    Source m_source;
    uint64_t m_unread = 0;  // bytes the source has still to deliver
    uint32_t m_loadCount = 1;
    std::vector<std::pair<uint32_t, const ArchiveClass*>> m_loadedClasses;
    std::unordered_map<uint32_t, std::pair<const ArchiveClass*, void*>> m_mappedObjects;
    // storing; loading from a source keeps its window in m_buffer
    Sink m_sink;
    std::unique_ptr<uint8_t[]> m_buffer;
    size_t m_size = 0;
    size_t m_capacity = 0;
    std::vector<std::pair<const ArchiveClass*, uint32_t>> m_storedClasses;
    uint32_t m_storeCount = 1;
    // The class of the last new object when its tag is the one-word form, and that tag.
    const ArchiveClass* m_repeatClass = nullptr;
    uint16_t m_repeatTag = 0;
};
