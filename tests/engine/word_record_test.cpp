#include "worddb/word_record.h"

#include <gtest/gtest.h>

#include <random>

#include "checker/characters.h"

namespace velmara {
namespace {

void PutValue(std::string& record, std::size_t slot, std::int64_t value) {
  auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < 8; ++i) record[kSlotOffsets[slot] + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

std::string Decode(const std::string& record) {
  return DecodeWordRecord(reinterpret_cast<const unsigned char*>(record.data()));
}

// Groups of three digits read from the left after padding; values outside the format carry nothing.
TEST(DecodePackedValue, ReadsGroupsOfThreeDigitsFromTheLeftAfterPadding) {
  const std::pair<std::int64_t, std::string> cases[] = {
      {104111108097, "hola"},
      {65241111, "A\xF1o"},  // padded to 065 241 111
      {97, "a"}, {7, "\x07"},
      {353, "a"},  // a group above 255 wraps modulo 256
      {999999999999999, std::string(5, '\xE7')},
      {104000097, std::string("h\0a", 3)},  // an inner zero group stays
      {0, ""}, {-1, ""}, {-104111108097, ""}, {INT64_MIN, ""}, {INT64_MAX, ""},
      {1000000000000000, ""},  // 16 digits
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(DecodePackedValue(value), text) << value;
}

TEST(DecodeWordRecord, JoinsPositiveSlotsTrimsSpacesAndLowercases) {
  std::string record(kRecordSize, '\0');
  EXPECT_EQ(Decode(record), "");

  PutValue(record, 1, 104111108097);  // slot 1 is 0: skipped, not an end
  EXPECT_EQ(Decode(record), "hola");

  record.assign(kRecordSize, '\0');
  PutValue(record, 0, 32032067097115);  // "  Cas"
  PutValue(record, 1, -5);
  PutValue(record, 2, 97032);           // "a "
  EXPECT_EQ(Decode(record), "casa");

  record.assign(kRecordSize, '\0');
  PutValue(record, 0, 9083032065);      // tab, "S", " ", "A": only code 32 is trimmed, inner spaces stay
  PutValue(record, 7, 201032);          // "É "
  EXPECT_EQ(Decode(record), "\ts a\xE9");
}

TEST(DecodeWordRecord, ReservedBytesAreNotRead) {
  std::string record(kRecordSize, '\xFF');
  for (std::size_t slot = 0; slot < kPackedSlots; ++slot) PutValue(record, slot, 0);
  EXPECT_EQ(Decode(record), "");
  PutValue(record, 7, 122);
  EXPECT_EQ(Decode(record), "z");
}

TEST(EncodeWordRecord, RoundTripsRandomWordsToTheirLowerCase) {
  std::mt19937 random(2024);
  for (int i = 0; i < 3000; ++i) {
    std::string word(random() % (kMaxWordLength + 1), '\0');
    for (auto& c : word) c = static_cast<char>(1 + random() % 255);
    auto record = EncodeWordRecord(word);
    ASSERT_TRUE(record.has_value());
    ASSERT_EQ(record->size(), kRecordSize);
    EXPECT_EQ(Decode(*record), LowerCase(TrimSpaces(word))) << i;
  }
}

TEST(EncodeWordRecord, RefusesWordsTheFormatCannotCarry) {
  EXPECT_TRUE(EncodeWordRecord(std::string(kMaxWordLength, '\xFF')).has_value());
  EXPECT_FALSE(EncodeWordRecord(std::string(kMaxWordLength + 1, 'a')).has_value());
  EXPECT_FALSE(EncodeWordValues(std::string("a\0b", 3)).has_value());
  EXPECT_FALSE(EncodeWordValues(std::string(1, '\0')).has_value());
}

}  // namespace
}  // namespace velmara
