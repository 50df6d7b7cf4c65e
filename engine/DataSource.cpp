#include "DataSource.h"

#include "DataSet.h"

DataSource::DataSource(const QString& name, DataSet* dataSet, QObject* parent) : QObject(parent)
{
    setObjectName(name);
    setDataSet(dataSet);
}

DataSource::~DataSource()
{
    setDataSet(nullptr);
}

void DataSource::setDataSet(DataSet* ds)
{
    if (ds == dataSet_)
        return;
    if (dataSet_)
        dataSet_->detachSource(this);
    dataSet_ = ds;
    if (dataSet_)
        dataSet_->attachSource(this);
    Q_EMIT dataChanged();
}
