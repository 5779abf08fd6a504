// The check request as velmara-server reads it, over any bytes: the bytes as a URL-encoded form,
// as the annotation JSON, as text and as a multipart body. A request that is accepted holds valid UTF-8, its checked text has
// as many characters as the text the positions count in, and every position table ends where the
// text ends.

#include <cstdint>
#include <string>
#include <variant>

#include "fuzz_support.h"
#include "server/request.h"

namespace {

using namespace velmara::server;

std::size_t CodePoints(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

void CheckAccepted(const std::variant<CheckRequest, RequestError>& outcome) {
  if (const RequestError* error = std::get_if<RequestError>(&outcome)) {
    FUZZ_CHECK(error->status == 400 || error->status == 413);
    FUZZ_CHECK(ValidUtf8(error->message) == error->message);
    return;
  }
  const CheckRequest& request = std::get<CheckRequest>(outcome);
  FUZZ_CHECK(IsSpanishCode(request.language));
  FUZZ_CHECK(ValidUtf8(request.text) == request.text);
  FUZZ_CHECK(ValidUtf8(request.checked) == request.checked);
  FUZZ_CHECK(CodePoints(request.text) == request.codePoints);
  FUZZ_CHECK(CodePoints(request.checked) == request.codePoints);
  const auto units = Utf16Starts(request.text);
  const auto bytes = ByteStarts(request.text);
  FUZZ_CHECK(units.size() == request.codePoints + 1 && bytes.size() == request.codePoints + 1);
  FUZZ_CHECK(units.front() == 0 && bytes.back() == request.text.size());
  for (std::size_t k = 0; k + 1 < units.size(); ++k) {
    const std::uint32_t step = units[k + 1] - units[k];
    FUZZ_CHECK(step == 1 || step == 2);
    FUZZ_CHECK((step == 2) == (bytes[k + 1] - bytes[k] == 4));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = velmara::fuzz::AsText(data, size);

  FormFields form;
  ReadUrlEncodedForm(bytes, form);
  CheckAccepted(ReadCheckRequest(form, 1 << 20));

  FormFields annotation;
  annotation.data = std::string(bytes);
  annotation.language = "es";
  CheckAccepted(ReadCheckRequest(annotation, 1 << 20));

  FormFields text;
  text.text = std::string(bytes);
  text.language = "auto";
  CheckAccepted(ReadCheckRequest(text, 1 << 20));

  // The same bytes as a multipart body: read or refused, and what is read is checked as ever.
  FormFields multipart;
  if (ReadMultipartForm("multipart/form-data; boundary=b", bytes, multipart)) {
    FUZZ_CHECK(IsMultipartForm("Multipart/Form-Data; boundary=b"));
    if (multipart.text) CheckAccepted(ReadCheckRequest(multipart, 1 << 20));
  }
  return 0;
}
