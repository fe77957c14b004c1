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
int runFaces(const QStringList& arguments);
int runFeatures(const QStringList& arguments);
int runIndex(const QStringList& arguments);
int runList(const QStringList& arguments);
int runSimilar(const QStringList& arguments);
int runColor(const QStringList& arguments);
int runMood(const QStringList& arguments);
int runPlates(const QStringList& arguments);
int runReadCard(const QStringList& arguments);

inline constexpr Command commands[] = {
    { "edges", "Write the edge image of a picture as PNG.", runEdges },
    { "features", "Print the index features of pictures as JSON lines.", runFeatures },
    { "index", "Add pictures and folders to the index.", runIndex },
    { "list", "Print the index, folder by folder.", runList },
    { "similar", "Find indexed pictures like an indexed one.", runSimilar },
    { "color", "Find indexed pictures by colours.", runColor },
    { "mood", "Find indexed pictures by temperature and noise.", runMood },
    { "faces", "Find the faces in a photograph; censor or pixelate them.", runFaces },
    { "plates", "Find the number plates in a photograph; pixelate them.", runPlates },
    { "read-card", "Print the text lines of a photographed business card.", runReadCard },
};

} // namespace veldra::cli
