#include "document/ModelRecord.h"

ModelRecord::ModelRecord(ModelRecord*& first, ModelRecord*& last)
{
    ListAppend(this, first, last);
}
