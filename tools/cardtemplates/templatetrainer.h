#pragma once

#include "recognition/card/cardimage.h"
#include "recognition/card/cardrect.h"
#include "recognition/card/templatestore.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace veldra::tools {

// Renders the recogniser's classes in several fonts, cuts them with the
// recogniser's own line reader and learns the feature windows and the seven
// prototypes per class that the template files hold.
class TemplateTrainer
{
public:
    static constexpr int variants = 4;

    struct Sample
    {
        int cls = 0;
        int variant = 0;
        CardImage canvas;
    };

    void setFonts(const QStringList& families) { m_fonts = families; }
    void setFeatureCount(int count) { m_featureCount = count; }
    void setVariants(int count) { m_variants = count; }
    // Prototypes taken from the sample nearest each cluster's mean instead
    // of the mean itself.
    void setMedoids(bool medoids) { m_medoids = medoids; }

    // Renders and cuts every training line; returns the number of samples.
    int collect();
    // Chooses the windows and prototypes.
    void train();
    // Writes one "fNNN.fdb" file per feature into the folder.
    bool write(const QString& folder) const;
    // Share of samples (of the given variant, -1 for all) classified right.
    double accuracy(int variant = -1) const;

    // Per class: samples read right of all, and the classes often taken
    // for it.
    QString report() const;

    const std::vector<Sample>& samples() const { return m_samples; }
    const std::vector<CharTemplate>& features() const { return m_features; }

    // Adds whole lines of text cut the way recognition cuts them.
    void setLineSamples(bool lines) { m_lines = lines; }

private:
    static constexpr int unknown = -1;
    static constexpr int markerClass = -2;
    static int classOf(QChar c);
    static QStringList corpus();
    CardImage photograph(const QImage& image, int variant, int pixelSize, CardRect& box);
    void addTextLine(
        const QString& text, const QString& family, bool bold, int pixelSize, int variant);
    void addLine(const QString& text, const QString& family, bool bold, int pixelSize, int variant,
        int cls, int spacing);

    QStringList m_fonts;
    int m_featureCount = 256;
    int m_variants = variants;
    bool m_medoids = false;
    bool m_lines = false;
    std::vector<Sample> m_samples;
    std::vector<CharTemplate> m_features;
    uint32_t m_noiseState = 12345;
};

} // namespace veldra::tools
