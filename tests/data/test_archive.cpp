#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "data/archive/Archive.h"
#include "data/archive/Windows1252.h"
#include "tests/data/ByteBuilder.h"

namespace {

constexpr ArchiveClass kClasses[] = {{"CAlpha", 1}, {"CBeta", 1}};

std::vector<uint8_t> Stored(const CArchive& ar)
{
    const auto s = ar.StoredBytes();
    return {s.begin(), s.end()};
}

std::string ReadStringFrom(const Bytes& b)
{
    CArchive ar(b.data);
    std::string s = ar.ReadString();
    EXPECT_EQ(ar.Remaining(), 0u);
    return s;
}

}  // namespace

TEST(Archive, PrimitivesAreLittleEndian)
{
    CArchive out;
    out.WriteByte(0xAB);
    out.WriteWord(0x1234);
    out.WriteInt(-2);
    out.WriteDouble(1.5);
    const std::vector<uint8_t> expected = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0,
                                           0,    0,    0,    0xF8, 0x3F};
    EXPECT_EQ(Stored(out), expected);

    CArchive in(expected);
    EXPECT_EQ(in.ReadByte(), 0xAB);
    EXPECT_EQ(in.ReadWord(), 0x1234);
    EXPECT_EQ(in.ReadInt(), -2);
    EXPECT_EQ(in.ReadDouble(), 1.5);
    EXPECT_THROW(in.ReadByte(), ArchiveError);
}

TEST(Archive, CountsEscapeAt0xFFFF)
{
    for (uint32_t count : {0u, 0xFFFEu, 0xFFFFu, 0x12345u}) {
        CArchive out;
        out.WriteCount(count);
        Bytes expected;
        if (count < 0xFFFF)
            expected.u16(static_cast<uint16_t>(count));
        else
            expected.u16(0xFFFF).u32(count);
        EXPECT_EQ(Stored(out), expected.data) << count;
        CArchive in(expected.data);
        EXPECT_EQ(in.ReadCount(), count);
    }
}

TEST(Archive, StringLengthForms)
{
    struct Case {
        size_t length;
        Bytes prefix;
    };
    Case cases[] = {{0, Bytes().u8(0)},
                    {254, Bytes().u8(254)},
                    {255, Bytes().u8(0xFF).u16(255)},
                    {0xFFFD, Bytes().u8(0xFF).u16(0xFFFD)},
                    {0xFFFE, Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFE)},
                    {70000, Bytes().u8(0xFF).u16(0xFFFF).u32(70000)}};
    for (Case& c : cases) {
        const std::string text(c.length, 'x');
        CArchive out;
        out.WriteString(text);
        Bytes expected = c.prefix;
        expected.raw(text);
        EXPECT_EQ(Stored(out), expected.data) << c.length;
        EXPECT_EQ(ReadStringFrom(expected), text) << c.length;
    }
}

TEST(Archive, StringsAreWindows1252OnDisk)
{
    CArchive out;
    out.WriteString("5 \xC2\xB5" "F at 20 \xC2\xB0" "C \xE2\x82\xAC \xE6\xBC\xA2");  // 5 µF at 20 °C € 漢
    EXPECT_EQ(Stored(out), Bytes().str("5 \xB5" "F at 20 \xB0" "C \x80 ?").data);

    EXPECT_EQ(ReadStringFrom(Bytes().str("\xB5\xB0\x80\x9F\x81")),
              "\xC2\xB5\xC2\xB0\xE2\x82\xAC\xC5\xB8\xC2\x81");
}

TEST(Archive, WideStringsAreConvertedToUtf8)
{
    // "µ°" then U+1F600 as a surrogate pair, with the short and the word length prefix.
    Bytes shortForm;
    shortForm.u8(0xFF).u16(0xFFFE).u8(4).u16(0x00B5).u16(0x00B0).u16(0xD83D).u16(0xDE00);
    EXPECT_EQ(ReadStringFrom(shortForm), "\xC2\xB5\xC2\xB0\xF0\x9F\x98\x80");

    Bytes wordForm;
    wordForm.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(300);
    for (int i = 0; i < 300; ++i)
        wordForm.u16('a');
    EXPECT_EQ(ReadStringFrom(wordForm), std::string(300, 'a'));

    Bytes lone;
    lone.u8(0xFF).u16(0xFFFE).u8(2).u16(0xDC00).u16('z');
    EXPECT_EQ(ReadStringFrom(lone), "\xEF\xBF\xBDz");
}

TEST(Archive, MalformedUtf8BecomesQuestionMarks)
{
    EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToWindows1252("\xC0\xAF" "b"), "??b");  // overlong
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???");   // encoded surrogate
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x80\x94\xC3\xA9"), "\x97\xE9");
}

TEST(Archive, ObjectTagsShareOneMapForClassesAndObjects)
{
    // class CAlpha = 1, object = 2; class CBeta = 3, object = 4; CAlpha object = 5;
    // back-reference to object 4; null.
    Bytes b;
    b.newClass("CAlpha").newClass("CBeta").u16(0x8001).u16(4).u16(0);
    CArchive ar(b.data);
    int alpha = 0, beta = 0, alpha2 = 0;

    auto t = ar.ReadObjectTag(kClasses);
    ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::New);
    EXPECT_EQ(t.classId, 0);
    EXPECT_EQ(t.mapIndex, 2u);
    ar.SetMappedObject(t, &alpha);

    t = ar.ReadObjectTag(kClasses);
    EXPECT_EQ(t.classId, 1);
    EXPECT_EQ(t.mapIndex, 4u);
    ar.SetMappedObject(t, &beta);

    t = ar.ReadObjectTag(kClasses);
    ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::New);
    EXPECT_EQ(t.classId, 0);
    EXPECT_EQ(t.mapIndex, 5u);
    ar.SetMappedObject(t, &alpha2);

    t = ar.ReadObjectTag(kClasses);
    ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::Existing);
    EXPECT_EQ(t.object, &beta);
    EXPECT_EQ(t.classId, 1);

    EXPECT_EQ(ar.ReadObjectTag(kClasses).kind, CArchive::ObjectTag::Kind::Null);
}

TEST(Archive, BigTagsCarry32BitIndexes)
{
    // The 0x7FFF form: bit 31 marks a class index (a new object), otherwise an object reference.
    Bytes b;
    b.newClass("CBeta").u16(0x7FFF).u32(0x80000001u).u16(0x7FFF).u32(2);
    CArchive ar(b.data);
    int first = 0, second = 0;
    auto t = ar.ReadObjectTag(kClasses);
    ar.SetMappedObject(t, &first);
    t = ar.ReadObjectTag(kClasses);
    ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::New);
    EXPECT_EQ(t.classId, 1);
    EXPECT_EQ(t.mapIndex, 3u);
    ar.SetMappedObject(t, &second);
    t = ar.ReadObjectTag(kClasses);
    ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::Existing);
    EXPECT_EQ(t.object, &first);
}

TEST(Archive, WriterSwitchesToBigTagsAtIndex0x7FFF)
{
    CArchive out;
    EXPECT_EQ(out.WriteNewObject(kClasses[0]), 2u);   // class 1, object 2
    for (uint32_t i = 3; i < 0x7FFF; ++i)
        EXPECT_EQ(out.WriteNewObject(kClasses[0]), i);
    // CBeta first appears as index 0x7FFF, its object is 0x8000.
    EXPECT_EQ(out.WriteNewObject(kClasses[1]), 0x8000u);
    const size_t before = out.StoredBytes().size();
    EXPECT_EQ(out.WriteNewObject(kClasses[1]), 0x8001u);
    out.WriteObjectReference(0x7FFE);
    out.WriteObjectReference(0x8000);
    out.WriteObjectReference(2);
    const auto all = out.StoredBytes();
    const std::vector<uint8_t> tail(all.begin() + before, all.end());
    EXPECT_EQ(tail, Bytes()
                        .u16(0x7FFF).u32(0x80007FFFu)
                        .u16(0x7FFE)
                        .u16(0x7FFF).u32(0x8000)
                        .u16(2)
                        .data);

    // The reader assigns the same indexes.
    CArchive in(all);
    std::vector<int> objects(0x8002);
    uint32_t lastIndex = 0;
    for (int i = 0; i < 0x7FFF; ++i) {
        auto t = in.ReadObjectTag(kClasses);
        ASSERT_EQ(t.kind, CArchive::ObjectTag::Kind::New);
        in.SetMappedObject(t, &objects[t.mapIndex]);
        lastIndex = t.mapIndex;
    }
    EXPECT_EQ(lastIndex, 0x8001u);
    EXPECT_EQ(in.ReadObjectTag(kClasses).object, &objects[0x7FFE]);
    EXPECT_EQ(in.ReadObjectTag(kClasses).object, &objects[0x8000]);
    EXPECT_EQ(in.ReadObjectTag(kClasses).object, &objects[2]);
}

TEST(Archive, RejectsBadTags)
{
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"unknown class", Bytes().newClass("CGamma")},
        {"wrong schema", Bytes().newClass("CAlpha", 2)},
        {"name of 64 characters", Bytes().newClass(std::string(64, 'C'))},
        {"name longer than the data", Bytes().u16(0xFFFF).u16(1).u16(6).raw("CAl")},
        {"reference not read yet", Bytes().u16(5)},
        {"reference to a class", Bytes().newClass("CAlpha").u16(1)},
        {"class tag of an object", Bytes().newClass("CAlpha").u16(0x8002)},
        {"class index 0", Bytes().u16(0x8000)},
        {"big reference not read yet", Bytes().u16(0x7FFF).u32(9)},
        {"big class index not read yet", Bytes().u16(0x7FFF).u32(0x80000009u)},
        {"truncated big tag", Bytes().u16(0x7FFF).u16(0)},
    };
    for (Case& c : cases) {
        CArchive ar(c.bytes.data);
        EXPECT_THROW(
            {
                auto t = ar.ReadObjectTag(kClasses);
                static int object;
                if (t.kind == CArchive::ObjectTag::Kind::New)
                    ar.SetMappedObject(t, &object);
                ar.ReadObjectTag(kClasses);
            },
            ArchiveError)
            << c.what;
    }
}

TEST(Archive, ClassNotAcceptedHereIsRejected)
{
    constexpr ArchiveClass onlyBeta[] = {{"CBeta", 1}};
    Bytes b;
    b.newClass("CAlpha").u16(0x8001);
    CArchive ar(b.data);
    int object = 0;
    auto t = ar.ReadObjectTag(kClasses);
    ar.SetMappedObject(t, &object);
    EXPECT_THROW(ar.ReadObjectTag(onlyBeta), ArchiveError);
}

TEST(Archive, LengthsAreBoundedByTheBytesLeft)
{
    const Bytes hostile[] = {
        Bytes().u8(0xFF).u16(0xFFFF).u32(0xFFFFFFFFu).raw("abc"),            // string
        Bytes().u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(0x7FFFFFFFu),  // wide string
        Bytes().u8(10).raw("short"),
    };
    for (const Bytes& b : hostile) {
        CArchive ar(b.data);
        EXPECT_THROW(ar.ReadString(), ArchiveError);
    }
    Bytes counts;
    counts.u16(0xFFFF).u32(0xFFFFFFFFu).u32(0).u32(0);
    CArchive ar(counts.data);
    EXPECT_THROW(ar.ReadCount(2), ArchiveError);

    const Bytes three = Bytes().u16(3).u16(0).u16(0).u16(0);
    CArchive exact(three.data);
    EXPECT_EQ(exact.ReadCount(2), 3u);
    EXPECT_THROW(exact.RequireItems(4, 2), ArchiveError);
}

namespace {

// Hands out `bytes` at most `piece` bytes per call, as a file read would.
CArchive::Source PiecesOf(const std::vector<uint8_t>& bytes, size_t piece, size_t& pos)
{
    return [&bytes, piece, &pos](uint8_t* out, size_t max) {
        const size_t n = std::min({max, piece, bytes.size() - pos});
        std::memcpy(out, bytes.data() + pos, n);
        pos += n;
        return n;
    };
}

}  // namespace

TEST(Archive, SourceInPiecesReadsLikeTheWholeBuffer)
{
    // Values straddle every piece and window boundary; the long strings need a wider window.
    const std::string longText(300000, 'q');
    Bytes b;
    b.newClass("CAlpha").u16(0x8001).u16(0xFFFF).u32(0x12345).str("abc");
    for (int i = 0; i < 40000; ++i)
        b.u8(static_cast<uint8_t>(i)).i32(-i).f64(i * 0.5);
    b.u8(0xFF).u16(0xFFFF).u32(static_cast<uint32_t>(longText.size())).raw(longText);
    b.u8(0xFF).u16(0xFFFE).u8(0xFF).u16(0xFFFF).u32(200000);
    for (int i = 0; i < 200000; ++i)
        b.u16(u'\u00B5');
    b.u16(0x8001);

    for (size_t piece : {size_t{1}, size_t{7}, size_t{4096}, b.size()}) {
        size_t pos = 0;
        CArchive ar(PiecesOf(b.data, piece, pos), b.size());
        EXPECT_EQ(ar.Remaining(), b.size());
        EXPECT_EQ(ar.ReadObjectTag(kClasses).classId, 0);
        EXPECT_EQ(ar.ReadObjectTag(kClasses).classId, 0);
        EXPECT_EQ(ar.ReadCount(), 0x12345u);
        EXPECT_EQ(ar.ReadString(), "abc");
        bool same = true;
        for (int i = 0; i < 40000; ++i)
            same = same && ar.ReadByte() == static_cast<uint8_t>(i) && ar.ReadInt() == -i &&
                   ar.ReadDouble() == i * 0.5;
        EXPECT_TRUE(same) << piece;
        EXPECT_EQ(ar.ReadString(), longText);
        const std::string wide = ar.ReadString();
        EXPECT_EQ(wide.size(), 400000u);
        EXPECT_EQ(wide.substr(0, 4), "\xC2\xB5\xC2\xB5");
        EXPECT_EQ(ar.ReadObjectTag(kClasses).kind, CArchive::ObjectTag::Kind::New);
        EXPECT_EQ(ar.Remaining(), 0u);
        EXPECT_THROW(ar.ReadByte(), ArchiveError) << piece;
        EXPECT_EQ(pos, b.size());
    }
}

TEST(Archive, SourceCountsAreBoundedByTheAnnouncedSize)
{
    // The announced size bounds counts before anything is read past them.
    Bytes b;
    b.u16(0xFFFF).u32(1000).u8(0xFF).u16(0xFFFF).u32(5000).raw("abc");
    size_t pos = 0;
    CArchive ar(PiecesOf(b.data, 3, pos), b.size());
    EXPECT_THROW(ar.ReadCount(8), ArchiveError);
    EXPECT_THROW(ar.ReadString(), ArchiveError);
    EXPECT_LT(pos, b.size());

    // A source that fails passes its own error through, not as a format error.
    struct SourceFailed {};
    CArchive failing([](uint8_t*, size_t) -> size_t { throw SourceFailed(); }, 100);
    EXPECT_THROW(failing.ReadInt(), SourceFailed);
}
