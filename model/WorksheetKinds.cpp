#include "WorksheetKinds.h"

#include "EDatabaseError.h"
#include "DataModule.h"

const std::array<WorksheetKind, 4>& worksheetKinds()
{
    using M = WorksheetKind::MachineItem;
    static const std::array<WorksheetKind, 4> kinds{{
        {QLatin1Char('D'), "DEMOL.DB", "Demolition", "Demolition", "The demolition total", "DE-ID", "Item",
         M::EquipmentDescription, true, &DataModule::DemolT, &DataModule::EquipDemoT},
        {QLatin1Char('M'), "MATERIAL.DB", "Earthmoving", "Earhmoving", "The earthmoving total", "MAT-ID", "Description",
         M::WorksheetDescription, false, &DataModule::MatT, &DataModule::EquipMatT},
        {QLatin1Char('R'), "REVEG.DB", "Revegetation", "Revegetation", "The revegetation total", "REV-ID", "Name",
         M::EquipmentName, true, &DataModule::RevegT, &DataModule::EquipRevegT},
        {QLatin1Char('O'), "OTHERREC.DB", "Other Reclamation", "", "The other reclamation total", "", "Name", M::None,
         true, &DataModule::OtherT, nullptr},
    }};
    return kinds;
}

const WorksheetKind* findWorksheetKind(QChar letter)
{
    for (const WorksheetKind& k : worksheetKinds())
        if (k.letter == letter.toUpper())
            return &k;
    return nullptr;
}

const WorksheetKind& worksheetKind(QChar letter)
{
    if (const WorksheetKind* k = findWorksheetKind(letter))
        return *k;
    throw EDatabaseError(QStringLiteral("There is no worksheet of kind '%1'").arg(letter));
}

Table& WorksheetKind::sheetsOf(DataModule& dm) const
{
    return dm.*sheets;
}

Table* WorksheetKind::equipmentOf(DataModule& dm) const
{
    return equipment ? &(dm.*equipment) : nullptr;
}
