#pragma once
// A field of a view's current record, by name, as the worksheets print it.
#include "DataSet.h"

namespace rowvalue {

inline QString text(DataSet& ds, const char* field)
{
    return ds.fieldByName(field).asString();
}

inline double num(DataSet& ds, const char* field)
{
    return ds.fieldByName(field).asFloat();
}

}  // namespace rowvalue
