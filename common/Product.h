#pragma once
// The product's name, maker and version, once. Resource scripts read the macros, code the
// constants (the maker's name only the resources show); the version itself comes from the build
// (common/Version.h.in).
#include "common/Version.h"

#define HALCYRA_PRODUCT_NAME "Halcyra"
#define HALCYRA_COMPANY_NAME "Quorvix Software"

#ifndef RC_INVOKED
#include <string_view>

namespace halcyra::product {

inline constexpr std::string_view kName = HALCYRA_PRODUCT_NAME;
inline constexpr int kVersionMajor = HALCYRA_VERSION_MAJOR;
inline constexpr int kVersionMinor = HALCYRA_VERSION_MINOR;
inline constexpr int kVersionPatch = HALCYRA_VERSION_PATCH;
inline constexpr std::string_view kVersion = HALCYRA_VERSION_TEXT;
// The tray icon's tip: "Halcyra 1.3.2".
inline constexpr std::string_view kNameAndVersion = HALCYRA_PRODUCT_NAME " " HALCYRA_VERSION_TEXT;

} // namespace halcyra::product
#endif
