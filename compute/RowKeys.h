#pragma once
#include <QChar>
#include <QVariant>

// The rows a computation is of, by key: a mine, and within it a project, one worksheet row
// of a kind and one machine of that row. A key left invalid is not looked for: the views
// under it stand on their first rows.
struct RowKeys {
    QVariant mine, project;
    QChar kind;  // the worksheet row's kind ('D', 'M', 'R' or 'O'), with `sheet`
    QVariant sheet, plan;
};
