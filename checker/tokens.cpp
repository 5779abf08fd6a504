#include "checker/tokens.h"

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

}  // namespace velmara
