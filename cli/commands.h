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
int runReadCard(const QStringList& arguments);

inline constexpr Command commands[] = {
    { "edges", "Write the edge image of a picture as PNG.", runEdges },
    { "read-card", "Print the text lines of a photographed business card.", runReadCard },
};

} // namespace veldra::cli
