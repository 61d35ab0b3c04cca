#include "formats/streams/SampleCodeStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "formats/streams/BlockStream.h"

namespace kelvane {
namespace {

// Plain decoding and encoding of one sample by its code, written from the code table.
std::int32_t Decode(const std::uint8_t* p, SampleCode code) {
    switch (code) {
        case SampleCode::Signed8:
            return static_cast<std::int8_t>(p[0]);
        case SampleCode::Unsigned8:
            return p[0] - 128;
        case SampleCode::Signed16LE:
            return static_cast<std::int16_t>(p[0] | p[1] << 8);
        case SampleCode::Signed16BE:
            return static_cast<std::int16_t>(p[1] | p[0] << 8);
        case SampleCode::Unsigned16LE:
            return (p[0] | p[1] << 8) - 32768;
        case SampleCode::Unsigned16BE:
            return (p[1] | p[0] << 8) - 32768;
    }
    return 0;
}

void Encode(std::int32_t v, std::uint8_t* p, SampleCode code) {
    const auto u = static_cast<std::uint32_t>(v);
    switch (code) {
        case SampleCode::Signed8:
            p[0] = static_cast<std::uint8_t>(u);
            break;
        case SampleCode::Unsigned8:
            p[0] = static_cast<std::uint8_t>(v + 128);
            break;
        case SampleCode::Signed16LE:
            p[0] = u & 0xFF;
            p[1] = (u >> 8) & 0xFF;
            break;
        case SampleCode::Signed16BE:
            p[1] = u & 0xFF;
            p[0] = (u >> 8) & 0xFF;
            break;
        case SampleCode::Unsigned16LE:
            p[0] = (v + 32768) & 0xFF;
            p[1] = ((v + 32768) >> 8) & 0xFF;
            break;
        case SampleCode::Unsigned16BE:
            p[1] = (v + 32768) & 0xFF;
            p[0] = ((v + 32768) >> 8) & 0xFF;
            break;
    }
}

TEST(SampleCodeStream, EveryPairOfSameWidthCodesMatchesThePlainRecoding) {
    std::vector<std::uint8_t> source(4096);
    std::mt19937 rng(7);
    for (auto& b : source) b = static_cast<std::uint8_t>(rng());

    for (std::uint32_t from = 1; from <= 6; ++from) {
        for (std::uint32_t to = 1; to <= 6; ++to) {
            const auto s = static_cast<SampleCode>(from), t = static_cast<SampleCode>(to);
            BorrowedBlock block(source.data(), 4096, false, true);
            BlockStream inner(block);
            SampleCodeStream stream(inner, s, t);
            const bool sameWidth = (from >= 3) == (to >= 3);
            ASSERT_EQ(stream.IsOk(), sameWidth ? 1u : 0u) << from << "->" << to;
            if (!sameWidth) continue;

            std::vector<std::uint8_t> got(4096);
            ASSERT_EQ(stream.Read(got.data(), 1000), 1000u);
            ASSERT_EQ(stream.Read(got.data() + 1000, 5000), 3096u);
            const std::uint32_t width = from >= 3 ? 2 : 1;
            std::vector<std::uint8_t> want(4096);
            for (std::uint32_t i = 0; i < 4096; i += width)
                Encode(Decode(&source[i], s), &want[i], t);
            EXPECT_EQ(got, want) << from << "->" << to;
        }
    }
}

TEST(SampleCodeStream, AnOddCountDeliversOneByteLess) {
    std::uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    BorrowedBlock block(bytes, 8, false, true);
    SampleCodeStream stream(std::make_unique<BlockStream>(block), SampleCode::Signed16LE,
                            SampleCode::Signed16BE);
    std::uint8_t got[8] = {};
    EXPECT_EQ(stream.Read(got, 5), 4u);
    EXPECT_EQ(got[0], 2);
    EXPECT_EQ(got[1], 1);
    EXPECT_EQ(got[4], 0);
    EXPECT_EQ(stream.Seek(0, SeekCurrent), 4u);
    EXPECT_EQ(stream.Size(), 8u);
    EXPECT_EQ(stream.Read(got, 1), 0u);
}

}  // namespace
}  // namespace kelvane
