#include "decoder.h"

#include <shellapi.h>

namespace {

// The product page on the maker's web host.
const char kProductPage[] = "https://quorvel.example/quorvel.html";

}  // namespace

void OpenProductPage() {
    ShellExecuteA(nullptr, "open", kProductPage, nullptr, nullptr, SW_SHOW);
}
