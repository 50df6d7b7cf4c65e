#pragma once
// The side tools that the equipment list and the cost wizard reach. The volume
// calculator and the desk calculator stand beside the other windows; before a
// modal equipment window opens they are closed and marked, and each one that
// was marked is shown again when an equipment window becomes active.
class QWidget;

class ToolWindows {
public:
    virtual ~ToolWindows() = default;
    // Each shows its window owned by `owner`: the first two beside it, the truck calculator modally.
    virtual void showVolumeCalculator(QWidget* owner) = 0;
    virtual void showDeskCalculator(QWidget* owner) = 0;
    virtual void showTruckCalculator(QWidget* owner) = 0;
    // Before a modal equipment window opens: closes the two side windows, marking each one
    // that was showing. False when the volume calculator refused to close (its post failed
    // and was reported): the modal window is not to be opened.
    virtual bool closeSideWindows() = 0;
    // When an equipment window becomes active: shows again, owned by it, each marked side
    // window that is not showing. The equipment window keeps the focus.
    virtual void reopenSideWindows(QWidget* owner) = 0;
};
