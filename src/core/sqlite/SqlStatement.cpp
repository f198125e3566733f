#include "SqlStatement.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3_stmt* statement, QString query)
    : handle(statement)
    , queryText(std::move(query))
{
}

SqlStatement::~SqlStatement()
{
    close();
}

void SqlStatement::reset()
{
    if (handle)
        sqlite3_reset(handle);
    inUse = false;
}

int SqlStatement::close()
{
    int code = SQLITE_OK;
    if (handle)
        code = sqlite3_finalize(handle);
    handle = nullptr;
    inUse = false;
    return code;
}
