#include "checker/tokens.h"

#include <limits>
#include <ostream>
#include <stdexcept>

namespace velmara {

std::string_view VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Accepted: return "Accepted";
    case Verdict::Missing: return "Missing";
    case Verdict::Corrected: return "Corrected";
    case Verdict::VerbForm: return "VerbForm";
    case Verdict::FalsePositive: return "FalsePositive";
    case Verdict::DoubtfulVerbForm: return "DoubtfulVerbForm";
  }
  return "Accepted";
}

// A long text's characters on the heap: pointer in the first bytes, length after it; a longer
// text than the length can hold is refused.
void TokenText::AssignLong(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("token text too long");
  char* characters = new char[text.size()];
  std::memcpy(characters, text.data(), text.size());
  Release();
  const auto size = static_cast<std::uint32_t>(text.size());
  std::memcpy(bytes_, &characters, sizeof characters);
  std::memcpy(bytes_ + sizeof characters, &size, sizeof size);
  bytes_[kTagByte] = static_cast<char>(kLongTag);
}

void TokenText::ReleaseLong() {
  delete[] LongData();
  bytes_[kTagByte] = 0;
}

std::ostream& operator<<(std::ostream& out, const TokenText& text) { return out << text.view(); }

}  // namespace velmara
