#include "templatestore.h"

#include "recognisertables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>

namespace veldra {

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const
    {
        if (file)
            std::fclose(file);
    }
};

} // namespace

TemplateStore::TemplateStore(const std::list<std::string>& paths)
{
    load(paths);
}

void TemplateStore::load(const std::list<std::string>& paths)
{
    m_paths = paths;
    m_templates.clear();
    for (const std::string& path : paths) {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file)
            break;
        unsigned char header[3];
        if (std::fread(header, 1, 3, file.get()) != 3)
            continue;
        CharTemplate feature;
        feature.x = header[0];
        feature.y = header[1];
        feature.side = int8_t(header[2]);
        feature.values.reserve(RecogniserTables::referenceCount);
        int c;
        while (int(feature.values.size()) < RecogniserTables::referenceCount
            && (c = std::fgetc(file.get())) != EOF)
            feature.values.push_back(uint16_t(c));
        feature.count = int(feature.values.size());
        // The vote reads every reference; a short file would be read past
        // its end.
        if (feature.count < RecogniserTables::referenceCount)
            continue;
        m_templates.push_back(std::move(feature));
    }
}

bool TemplateStore::write(const std::string& path, const CharTemplate& feature)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const unsigned char header[3] = { feature.x, feature.y, uint8_t(feature.side) };
    if (std::fwrite(header, 1, 3, file.get()) != 3)
        return false;
    for (uint16_t v : feature.values)
        if (std::fputc(int(v & 0xFFu), file.get()) == EOF)
            return false;
    return true;
}

std::list<std::string> TemplateStore::filesIn(const QString& folder)
{
    std::list<std::string> files;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({ QStringLiteral("*.fdb") }, QDir::Files, QDir::Name))
        files.push_back(QFile::encodeName(dir.absoluteFilePath(name)).toStdString());
    return files;
}

std::list<std::string> TemplateStore::installedFiles()
{
    return filesIn(QCoreApplication::applicationDirPath() + QStringLiteral("/bpv"));
}

} // namespace veldra
