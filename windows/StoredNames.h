#pragma once
// The names stored settings and the tests rely on, kept as they were when the window
// classes took role names: each window's settings group (`2.0/<name>`, its placement,
// its grids' column widths and its own entries) and its objectName.
namespace storedname {
inline constexpr char MainWindow[] = "TMainForm";
inline constexpr char CostWizard[] = "TEquipWiz1Form";
inline constexpr char EquipmentListWindow[] = "TEquipLaborForm";
inline constexpr char TruckCalculatorWindow[] = "TTruckCalForm";
inline constexpr char VolumeCalculatorWindow[] = "TVolumeForm";
inline constexpr char DeskCalculatorWindow[] = "TCalculatorForm";
inline constexpr char EventLogWindow[] = "TEventLogForm";
inline constexpr char ReportSelectionDialog[] = "TSelectReportForm";
inline constexpr char HelpWindow[] = "THelpForm";
inline constexpr char EquipmentCostEditor[] = "TEquipCostForm";
inline constexpr char LaborRatesEditor[] = "TLaborForm";
inline constexpr char EfficiencyFactorEditor[] = "TEffFactorForm";
inline constexpr char FeeTableEditor[] = "TFeeForm";
}  // namespace storedname
