#pragma once
// The maker's addresses, kept in one place: the About links, their tooltips and the Update
// dialog all read them from here. The domain is one reserved for examples.
#include <string_view>

namespace halcyra::dialogs {

inline constexpr std::string_view kMakerMail = "halcyra@quorvix.example";
inline constexpr std::string_view kMakerWebSite = "https://www.quorvix.example/";
// Opened by "Check for Updates"; the tooltip names the product's home page instead.
inline constexpr std::string_view kProductPage = "https://www.quorvix.example/halcyra/updates.html";
inline constexpr std::string_view kProductHomePage = "https://www.quorvix.example/halcyra/";

} // namespace halcyra::dialogs
