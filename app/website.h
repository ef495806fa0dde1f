#pragma once

/// The maker's web site, opened by the logo; the update check asks its "/build.php".
inline constexpr const char* kMakerWebSite = "https://vuma.example.org";
