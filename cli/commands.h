#pragma once

#include <QStringList>

namespace veldra::cli {

// Each command gets the full argument list without its own name.
struct Command
{
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments);
};

int runEdges(const QStringList& arguments);

inline constexpr Command commands[] = {
    { "edges", "Write the edge image of a picture as PNG.", runEdges },
};

} // namespace veldra::cli
