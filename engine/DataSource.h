#pragma once
// The link between a view and what is bound to it: windows' controls, and
// detail views that follow the view as their master.
#include "Field.h"

#include <QMetaType>
#include <QObject>
#include <QString>

class DataSet;

class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(const QString& name, DataSet* dataSet = nullptr, QObject* parent = nullptr);
    ~DataSource() override;

    DataSet* dataSet() const { return dataSet_; }
    void setDataSet(DataSet* ds);
    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    // Called by the view.
    void recordChanged() { if (enabled_) Q_EMIT dataChanged(); }
    void fieldValueChanged(Field* f) { if (enabled_) Q_EMIT fieldChanged(f); }
    void stateWasChanged() { if (enabled_) Q_EMIT stateChanged(); }
    void requestUpdate() { if (enabled_) Q_EMIT updateData(); }

Q_SIGNALS:
    void dataChanged();          // moved to another record, or the record was re-read
    void fieldChanged(Field* field);
    void stateChanged();
    void updateData();           // before a post: bound controls write their pending text

private:
    DataSet* dataSet_ = nullptr;
    bool enabled_ = true;
};

Q_DECLARE_METATYPE(Field*)
