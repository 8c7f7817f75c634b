#pragma once
// Little-endian byte strings written field by field, for hand-made archive fixtures.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

struct Bytes {
    std::vector<uint8_t> data;

    Bytes& u8(uint8_t v) { return put(&v, 1); }
    Bytes& u16(uint16_t v) { return put(&v, 2); }
    Bytes& i32(int32_t v) { return put(&v, 4); }
    Bytes& u32(uint32_t v) { return put(&v, 4); }
    Bytes& f64(double v) { return put(&v, 8); }
    Bytes& raw(std::string_view s) { return put(s.data(), s.size()); }
    // String in the short form: one length byte (below 255), then the bytes as given.
    Bytes& str(std::string_view s)
    {
        u8(static_cast<uint8_t>(s.size()));
        return raw(s);
    }
    // New-class tag: 0xFFFF, schema, name length, name.
    Bytes& newClass(std::string_view name, uint16_t schema = 1)
    {
        u16(0xFFFF).u16(schema).u16(static_cast<uint16_t>(name.size()));
        return raw(name);
    }
    Bytes& add(const Bytes& other) { return put(other.data.data(), other.data.size()); }
    Bytes& put(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        data.insert(data.end(), b, b + n);
        return *this;
    }
    size_t size() const { return data.size(); }
};
