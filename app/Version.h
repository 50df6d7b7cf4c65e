#pragma once
inline constexpr const char* kTarvaneVersion = "2.4.9";
