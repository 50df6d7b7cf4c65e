#include "BondWorksheets.h"

#include "BondSummary.h"
#include "DirectCostWorksheets.h"
#include "ReportFrame.h"

namespace {

class Writer {
public:
    Writer(ReportFrame& frame, const BondItems& items) : f_(frame), c_(frame.canvas()), items_(items) {}
    double L() const { return c_.SectionLeft; }
    double R() const { return c_.SectionRight; }
    void font(const char* name, double size) { c_.SetFont(QString::fromLatin1(name), size); }
    void bold(bool on) { c_.SetBold(on); }
    void empty(int n = 1)
    {
        for (int i = 0; i < n; ++i)
            c_.PrintLine(QStringLiteral(" "));
    }
    QString text(int item) const { return items_.amountText(item).trimmed(); }
    QString factor(int which) const { return items_.factorText(which); }
    // A label and its amount on one line, then one empty line.
    void line(const QString& label, double labelX, const QString& amount, double amountRight)
    {
        c_.PrintLeft(label, labelX);
        c_.PrintRight(amount, amountRight);
        empty(2);
    }
    void listItem(const QString& label, int item) { line(label, L() + 0.5, text(item), R() - 1.5); }
    void total(const QString& label, int item) { line(label, L() + 0.9, text(item), R() - 0.2); }
    void closing(const QString& label, int item) { line(label, L() + 0.25, text(item), R() - 0.2); }
    void caption(const QString& text)
    {
        bold(true);
        c_.PrintLeft(text, L());
        bold(false);
    }
    // The five indirect costs of a phase with their percents and override marks.
    void indirect(int firstItem, const char* const labels[5])
    {
        for (int i = 0; i < 5; ++i) {
            const double percent = items_.percent[static_cast<size_t>(firstItem + i)];
            const bool over = items_.overridden[static_cast<size_t>(firstItem + i)];
            listItem(QString::fromLatin1(labels[i]) + QString::asprintf("%6.4f", percent) + QLatin1Char('%') +
                         (over ? QStringLiteral(" (overridden)") : QString()),
                     firstItem + i);
        }
    }
    void indirectCaption()
    {
        font("Arial", 12);
        empty();
        caption(QStringLiteral("Indirect Cost:"));
        font("Arial", 10);
        empty(2);
    }
    void directCaption()
    {
        font("Arial", 12);
        empty(2);
        caption(QStringLiteral("Direct Cost:"));
        font("Arial", 10);
        empty(2);
    }

    ReportFrame& f_;
    ReportCanvas& c_;
    const BondItems& items_;
};

}  // namespace

namespace {
void printBond(ReportFrame& frame, BondSummary& bond, bool mine);
}

void PrintBondSummary(ReportFrame& frame, BondSummary& bond, bool mine)
{
    bond.CalcBondSummary(mine);
    printBond(frame, bond, mine);
}

void PrintBondSummaryOf(ReportFrame& frame, BondSummary& bond, const QVariant& mineId,
                        const std::optional<QVariant>& projectId)
{
    bond.CalcBondSummaryOf(mineId, projectId);
    printBond(frame, bond, !projectId.has_value());
}

namespace {

void printBond(ReportFrame& frame, BondSummary& bond, bool mine)
{
    Writer w(frame, bond.items());
    ReportCanvas& c = frame.canvas();
    const QString W = mine ? QStringLiteral("Mine ") : QStringLiteral("Project ");

    // Worksheet 16: direct costs, indirect costs, the bond.
    w.font("Times New Roman", 14);
    w.bold(true);
    c.PrintLeft(W + QStringLiteral("Reclamation Bond Summary Worksheet 16:"), w.L());
    w.bold(false);
    w.directCaption();
    w.listItem(QStringLiteral("1.  Total Facility and Stucture Removal Cost"), 1);
    w.listItem(QStringLiteral("2.  Total Earthmoving Cost"), 2);
    w.listItem(QStringLiteral("3.  Total Revegetation Cost"), 3);
    w.listItem(QStringLiteral("4.  Total Other Reclamation Activities Cost"), 4);
    w.bold(true);
    w.total(QStringLiteral("5. Total Direct Cost"), 5);
    w.total(QStringLiteral("6. Inflated Direct Cost     factor: ") + w.factor(0), 6);
    w.bold(false);
    w.indirectCaption();
    static const char* const bondLabels[5] = {"7.  Mobilization and Demobilization at ", "8.  Contingencies at ",
                                              "9.  Engineering Redesign Fee at ", "10. Contractor Profit and Overhead at ",
                                              "11. Project Management Fee at "};
    w.indirect(7, bondLabels);
    w.bold(true);
    w.total(QStringLiteral("12. Total Indirect Cost"), 12);
    w.font("Arial", 12);
    w.bold(true);
    w.closing(mine ? QStringLiteral("13. Total Bond Amount") : QStringLiteral("Project Bond Amount"), 13);
    w.bold(false);
    PrintIncompleteNote(frame, W + QStringLiteral("Reclamation Bond Summary Worksheet 16"), bond.items().incomplete);

    // Worksheet 17: after the Phase I release.
    frame.StartFramedPage(true, QStringLiteral("Mine Reclamation Bond Summary  -- Continued"), QStringLiteral("Worksheet 17"), 1);
    w.font("Times New Roman", 14);
    w.empty(2);
    w.caption(W + QStringLiteral("Remaining Bond Following Phase I Release:"));
    w.directCaption();
    w.bold(true);
    w.total(QStringLiteral("14. Inflated Direct Cost:  Item 5  X   factor ") + w.factor(1), 14);
    w.bold(false);
    w.indirectCaption();
    static const char* const phase1Labels[5] = {"15. Mobilization and Demobilization at ", "16. Contingencies at ",
                                                "17. Engineering Redesign Fee at ", "18. Contractor Profit and Overhead at ",
                                                "19. Project Management Fee at "};
    w.indirect(15, phase1Labels);
    w.bold(true);
    w.total(QStringLiteral("20. Total Indirect Cost"), 20);
    w.font("Arial", 10);
    w.bold(false);
    w.closing(mine ? QStringLiteral("21. Mine Bond Amount Needed after Phase I Release")
                   : QStringLiteral("21. Project Bond Amount Needed after Phase I Release"),
              21);
    w.closing(QStringLiteral("22. Minimum Amount of Bond After Phase I Release:   40%  X Item 13"), 22);
    c.PrintLeft(QStringLiteral("23. Required Amount of Bond After Phase I Release: "), w.L() + 0.25);
    c.PrintRight(w.text(23), w.R() - 0.2);
    w.empty(2);
    c.PrintLeft(QStringLiteral("Greater of Item 21 or 22"), w.L() + 1);
    w.empty();
    w.font("Arial", 12);
    w.bold(true);
    w.closing(QStringLiteral("24. Phase I Release Amount: Item 13 - Item 23"), 24);
    w.bold(false);

    // Worksheet 18: after the Phase II release.
    frame.StartFramedPage(true, QStringLiteral("Mine Reclamation Bond Summary -- Continued"), QStringLiteral("Worksheet 18"), 1);
    w.font("Times New Roman", 14);
    w.empty(2);
    w.caption(W + QStringLiteral("Remaining Bond Following Phase II Release:"));
    w.directCaption();
    w.bold(true);
    w.total(QStringLiteral("25. Total Direct Cost:  Item 3  +  Item 4"), 25);
    w.total(QStringLiteral("26. Inflated Direct Cost:  Item 25  X   factor ") + w.factor(2), 26);
    w.bold(false);
    w.indirectCaption();
    static const char* const phase2Labels[5] = {"27. Mobilization and Demobilization at ", "28. Contingencies at ",
                                                "29. Engineering Redesign Fee at ", "30. Contractor Profit and Overhead at ",
                                                "31. Project Management Fee at "};
    w.indirect(27, phase2Labels);
    w.bold(true);
    w.total(QStringLiteral("32. Total Indirect Cost"), 32);
    w.font("Arial", 12);
    w.bold(true);
    w.closing(mine ? QStringLiteral("33. Mine Bond Amount Needed after Phase II Release")
                   : QStringLiteral("33. Project Bond Amount Needed after Phase II Release"),
              33);
    w.closing(QStringLiteral("34. Phase II Release Amount: "), 34);
    w.bold(false);
}

}  // namespace
