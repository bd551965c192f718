#pragma once
// Writes small uncompressed zip archives, so tests can build their own resource packs.
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

inline uint32_t Crc32(const std::vector<uint8_t>& data) {
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : data) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class ZipWriter {
public:
    void Add(const std::string& name, std::vector<uint8_t> data) { entries_.emplace_back(name, std::move(data)); }
    void Add(const std::string& name, const std::string& text) {
        Add(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    bool Write(const std::string& path) const {
        const std::vector<uint8_t> out = Bytes();
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
        return static_cast<bool>(file);
    }

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        std::vector<uint8_t> directory;
        for (const auto& [name, data] : entries_) {
            const uint32_t offset = static_cast<uint32_t>(out.size());
            const uint32_t crc = Crc32(data);
            const uint32_t size = static_cast<uint32_t>(data.size());
            Put32(out, 0x04034b50);
            Put16(out, 20);
            Put16(out, 0);
            Put16(out, 0);
            Put16(out, 0);
            Put16(out, 0x21);  // time, date (1980-01-01)
            Put32(out, crc);
            Put32(out, size);
            Put32(out, size);
            Put16(out, static_cast<uint16_t>(name.size()));
            Put16(out, 0);
            out.insert(out.end(), name.begin(), name.end());
            out.insert(out.end(), data.begin(), data.end());

            Put32(directory, 0x02014b50);
            Put16(directory, 20);
            Put16(directory, 20);
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0x21);
            Put32(directory, crc);
            Put32(directory, size);
            Put32(directory, size);
            Put16(directory, static_cast<uint16_t>(name.size()));
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0);
            Put16(directory, 0);
            Put32(directory, 0);
            Put32(directory, offset);
            directory.insert(directory.end(), name.begin(), name.end());
        }
        const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
        out.insert(out.end(), directory.begin(), directory.end());
        Put32(out, 0x06054b50);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, static_cast<uint16_t>(entries_.size()));
        Put16(out, static_cast<uint16_t>(entries_.size()));
        Put32(out, static_cast<uint32_t>(directory.size()));
        Put32(out, directoryOffset);
        Put16(out, 0);
        return out;
    }

private:
    static void Put16(std::vector<uint8_t>& v, uint16_t x) {
        v.push_back(static_cast<uint8_t>(x));
        v.push_back(static_cast<uint8_t>(x >> 8));
    }
    static void Put32(std::vector<uint8_t>& v, uint32_t x) {
        Put16(v, static_cast<uint16_t>(x));
        Put16(v, static_cast<uint16_t>(x >> 16));
    }
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries_;
};

}  // namespace testsupport
