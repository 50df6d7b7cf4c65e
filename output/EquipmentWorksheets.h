#pragma once
// The productivity worksheet of one equipment record (worksheets 5 to 12 and
// the user-defined sheet): identification, the calculation written out as
// formula lines with their captions, and the three memo sections.
struct WorksheetContext;
class DataSet;

// Prints the worksheet of the equipment record on which the view stands; a
// kind code outside 0 to 9 prints nothing. With newPage set a new page starts
// before the heading, otherwise the worksheet continues on the current page.
void PrintEquipmentWorksheet(WorksheetContext& ctx, bool newPage, DataSet& equipment);
