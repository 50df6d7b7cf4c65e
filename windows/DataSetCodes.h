#pragma once
// The data-set codes a mine carries in RevegYears: which of the user's own data, the
// tutorial and the example (each a shipped master and the working copy made from it) it is.
namespace datasetcode {
inline constexpr double UsersData = 5.0;
inline constexpr double TutorialCopy = 4.0;
inline constexpr double ExampleCopy = 3.0;
inline constexpr double TutorialMaster = 2.0;
inline constexpr double ExampleMaster = 1.0;
}  // namespace datasetcode
