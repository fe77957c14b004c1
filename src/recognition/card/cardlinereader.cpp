#include "cardlinereader.h"

#include "features/edgedetector.h"

#include <algorithm>
#include <cmath>

namespace veldra {

namespace {

float medianOf(std::vector<float> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : 0.5f * (values[n / 2 - 1] + values[n / 2]);
}

} // namespace

std::vector<CardGlyph> CardLineReader::read(const CardImage& card, const CardRect& box)
{
    const int margin = int(0.25 * box.height());
    const int top = std::max(0, box.top - margin);
    const int bottom = std::min(card.height() - 1, box.bottom + margin);
    // The box comes from a coarse grid; a few columns more keep the first
    // and last letters whole.
    const int left = std::max(0, box.left - margin);
    const int right = std::min(card.width() - 1, box.right + margin);
    const CardImage line = card.copy(left, top, right - left + 1, bottom - top + 1);
    return readLine(line, box.top - top, box.bottom - top);
}

std::vector<CardGlyph> CardLineReader::readLine(const CardImage& line, int coreTop, int coreBottom)
{
    m_components.clear();
    m_labels.clear();
    m_groups.clear();
    m_alternativeCapHeight = 0;
    m_inverted = false;
    m_width = line.width();
    m_height = line.height();
    if (m_width < 6 || m_height < 18)
        return {};
    m_grey.assign(size_t(m_width) * size_t(m_height), 0);
    for (int x = 0; x < m_width; ++x) {
        const std::vector<uint32_t>& column = line.column(x);
        for (int y = 0; y < m_height; ++y)
            m_grey[size_t(y) * size_t(m_width) + size_t(x)]
                = uint8_t((column[size_t(y)] >> 16) & 0xFFu);
    }

    // Light text on a dark ground: the outer quarter bands are darker than
    // the inner ones.
    std::vector<double> rowSums(size_t(m_height), 0.0);
    for (int y = 0; y < m_height; ++y) {
        const uint8_t* row = m_grey.data() + size_t(y) * size_t(m_width);
        double sum = 0;
        for (int x = 0; x < m_width; ++x)
            sum += row[x];
        rowSums[size_t(y)] = sum;
    }
    auto band = [&](int y0, int y1) {
        double sum = 0;
        for (int y = y0; y <= y1; ++y)
            sum += rowSums[size_t(y)];
        return sum / (double(y1 - y0 + 1) * m_width);
    };
    const int h = m_height;
    const double b1 = band(0, h / 4);
    const double b2 = band(h / 4, h / 2);
    const double b3 = band(h / 2, 3 * h / 4);
    const double b4 = band(3 * h / 4, h - 1);
    if (b1 < b2 && b4 < b3) {
        m_inverted = true;
        for (uint8_t& g : m_grey)
            g = uint8_t(255 - g);
    }

    enhance();

    QImage enhanced(m_width, m_height, QImage::Format_RGB32);
    for (int y = 0; y < m_height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(enhanced.scanLine(y));
        const uint8_t* g = m_grey.data() + size_t(y) * size_t(m_width);
        for (int x = 0; x < m_width; ++x)
            row[x] = qRgb(g[x], g[x], g[x]);
    }
    const QImage edges = detectEdges(enhanced, m_margin, 58);
    std::vector<bool> inkColumn(size_t(m_width), false);
    for (int y = 0; y < m_height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(edges.constScanLine(y));
        for (int x = 0; x < m_width; ++x)
            if (qRed(row[x]) > m_margin)
                inkColumn[size_t(x)] = true;
    }
    std::vector<CardRect> columns;
    int start = -1;
    for (int x = 0; x <= m_width; ++x) {
        const bool ink = x < m_width && inkColumn[size_t(x)];
        if (ink && start < 0)
            start = x;
        if (!ink && start >= 0) {
            if (x - start >= 2)
                columns.push_back({ start, 0, x - 1, m_height - 1 });
            start = -1;
        }
    }
    if (columns.empty())
        return {};

    label(columns, std::max(0, coreTop), std::min(m_height - 1, coreBottom));
    std::vector<Group> groups = groupComponents();
    // Parts above or below the line proper were kept only as accents.
    groups.erase(
        std::remove_if(groups.begin(), groups.end(),
            [&](const Group& g) { return g.box.bottom < coreTop || g.box.top > coreBottom; }),
        groups.end());
    if (groups.empty())
        return {};
    measureLine(groups);
    m_groups = splitWide(groups);
    return glyphs(m_capHeight);
}

std::vector<CardGlyph> CardLineReader::glyphs(float capital) const
{
    std::vector<CardGlyph> glyphs;
    const Group* previous = nullptr;
    for (const Group& group : m_groups) {
        const CardRect& b = group.box;
        if (previous) {
            const int gap = b.left - previous->box.right - 1;
            if (gap > 0.5f * capital) {
                CardGlyph blank;
                blank.image = blankMarker();
                blank.box = { previous->box.right + 1, b.top, b.left - 1, b.bottom };
                glyphs.push_back(blank);
            }
        }
        previous = &group;

        CardGlyph glyph;
        glyph.box = b;
        glyph.top = (m_baseline - float(b.top)) / capital;
        glyph.depth = (float(b.bottom) - m_baseline) / capital;
        glyph.mark = markOf(group);
        const float height = float(b.height()) / capital;
        const float width = float(b.width()) / capital;
        if (!m_markers) {
            glyph.image = canvas(group, capital, false);
            glyph.shape = canvas(group, capital, true);
        } else if (height < 0.4f && width < 0.4f && glyph.top < 0.35f && glyph.depth > -0.12f
            && glyph.depth <= 0.12f) {
            glyph.image = fullStopMarker();
        } else if (height < 0.6f && width < 0.35f && glyph.top < 0.35f && glyph.depth > 0.12f) {
            glyph.image = commaMarker();
        } else if (height < 0.5f && width < 0.3f && glyph.depth < -0.45f) {
            glyph.image = apostropheMarker();
        } else {
            glyph.image = canvas(group, capital, false);
            glyph.shape = canvas(group, capital, true);
        }
        glyphs.push_back(std::move(glyph));
    }
    return glyphs;
}

void CardLineReader::enhance()
{
    // Histogram of a 20-row nearest-neighbour copy of the line.
    int histogram[256] = {};
    const double f = m_height / 20.0;
    const int newWidth = int(m_width / f);
    const int newHeight = int(m_height / f);
    if (newWidth > 0 && newHeight > 0) {
        const double sx = double(m_width) / newWidth;
        const double sy = double(m_height) / newHeight;
        for (int i = 0; i < newWidth; ++i) {
            const int x = std::min(int(std::lround(i * sx + sx / 2)), m_width - 1);
            for (int j = 0; j < newHeight; ++j) {
                const int y = std::min(int(std::lround(j * sy + sy / 2)), m_height - 1);
                ++histogram[m_grey[size_t(y) * size_t(m_width) + size_t(x)]];
            }
        }
    }
    int h[256];
    std::copy(histogram, histogram + 256, h);
    // The smoothing runs over every bin, the missing neighbours of the end
    // bins counting as empty: paper of pure white (or ink of pure black)
    // would otherwise stay a raw spike beside smoothed bins and pass for
    // several peaks of its own.
    for (int pass = 0; pass < 3; ++pass) {
        int padded[262] = {};
        std::copy(h, h + 256, padded + 3);
        for (int k = 0; k < 256; ++k) {
            const int* p = padded + k + 3;
            h[k] = int(
                (p[-3] + 2 * p[-2] + 4 * p[-1] + 8 * p[0] + 4 * p[1] + 2 * p[2] + p[3]) / 22.0);
        }
    }
    const int maximum = *std::max_element(h, h + 256);
    int rise = -1;
    int fall = -1;
    for (int i = 0; i < 256; ++i) {
        h[i] = maximum > 0 ? int(h[i] / double(maximum) * 100.0) : 0;
        if (i > 0 && rise < 0 && h[i] > h[i - 1])
            rise = i;
        if (i > 0 && rise >= 0 && h[i] < h[i - 1])
            fall = i;
    }
    const int spread = rise >= 0 && fall >= 0 ? int((fall - rise) * 0.33) : 0;

    std::vector<int> peaks;
    // Pure black ink and pure white paper pile up in the first and last bin;
    // an empty bin on either side lets them count as peaks.
    bool rose = h[0] > 0;
    int shoulder = 0;
    for (int k = 1; k <= 256; ++k) {
        const int value = k < 256 ? h[k] : 0;
        if (value > h[k - 1]) {
            rose = true;
        } else if (value < h[k - 1]) {
            if (rose)
                peaks.push_back(k - 1);
            rose = false;
        } else if (value > 0 && value < 60) {
            shoulder = k;
        }
    }
    if (peaks.size() > 1)
        shoulder = 0;
    int bright = 0;
    if (peaks.empty()) {
        bright = int(std::max_element(h, h + 256) - h);
    } else {
        bright = peaks.front();
        for (int p : peaks)
            if (h[p] > h[bright])
                bright = p;
    }
    int dark = shoulder;
    for (int p : peaks)
        if (h[p] > h[dark] && std::abs(p - bright) > spread)
            dark = p;
    if (dark > bright)
        std::swap(dark, bright);
    const int edge = bright - dark > 32 ? int(0.33 * (bright - dark)) : 0;
    int valley = bright;
    int flat = 0;
    for (int v = bright - edge; v >= dark + edge + 1; --v) {
        if (h[v] < h[valley]) {
            valley = v;
            flat = 0;
        }
        if (h[v] == h[valley] && v > 0 && h[v] == h[v - 1] && edge != 0)
            ++flat;
    }
    m_threshold = int(valley - 0.5 * flat);
    m_margin = std::clamp(std::min(m_threshold - dark, bright - m_threshold), 5, 20);

    for (uint8_t& g : m_grey) {
        const int v = std::clamp(2 * int(g) - m_threshold, 0, 255);
        if (v < m_threshold)
            g = uint8_t(int(float(v) * 0.7f));
    }
    m_paper = bright;
    m_inkLevel = int(float(std::clamp(2 * dark - m_threshold, 0, 255)) * 0.7f);
    if (m_paper - m_inkLevel < 24) {
        m_paper = std::max(m_threshold, 128);
        m_inkLevel = 0;
    }
}

void CardLineReader::label(const std::vector<CardRect>& columns, int coreTop, int coreBottom)
{
    const int w = m_width;
    const int h = m_height;
    std::vector<uint8_t> ink(size_t(w) * size_t(h), 0);
    for (const CardRect& c : columns)
        for (int x = std::max(0, c.left - 1); x <= c.right; ++x)
            for (int y = 0; y < h; ++y)
                if (m_grey[size_t(y) * size_t(w) + size_t(x)] < m_threshold)
                    ink[size_t(y) * size_t(w) + size_t(x)] = 1;
    m_labels.assign(ink.size(), 0);
    std::vector<int> stack;
    int next = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = size_t(y) * size_t(w) + size_t(x);
            if (!ink[at] || m_labels[at])
                continue;
            ++next;
            Component component;
            component.label = next;
            component.box = { x, y, x, y };
            m_labels[at] = next;
            stack.assign(1, int(at));
            while (!stack.empty()) {
                const int p = stack.back();
                stack.pop_back();
                const int px = p % w;
                const int py = p / w;
                ++component.area;
                component.box.left = std::min(component.box.left, px);
                component.box.right = std::max(component.box.right, px);
                component.box.top = std::min(component.box.top, py);
                component.box.bottom = std::max(component.box.bottom, py);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx;
                        const int ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                            continue;
                        const size_t n = size_t(ny) * size_t(w) + size_t(nx);
                        if (ink[n] && !m_labels[n]) {
                            m_labels[n] = next;
                            stack.push_back(int(n));
                        }
                    }
            }
            m_components.push_back(component);
        }

    // Parts of the neighbouring lines in the margin rows, and specks.
    const int coreHeight = coreBottom - coreTop + 1;
    const int speck = std::max(2, int(0.0004 * coreHeight * coreHeight));
    for (Component& c : m_components) {
        // Accents of capitals may stand above the line's box; they are kept
        // for now and dropped with their group unless they sit on a letter.
        const bool outside
            = c.box.bottom < coreTop - coreHeight / 3 || c.box.top > coreBottom + coreHeight / 3;
        const bool reachesBorder = (c.box.top == 0 && c.box.bottom < coreTop + coreHeight / 3)
            || (c.box.bottom == h - 1 && c.box.top > coreBottom - coreHeight / 3);
        if (outside || reachesBorder || c.area <= speck || c.box.height() > 2.5 * coreHeight)
            c.area = 0;
    }
}

std::vector<CardLineReader::Group> CardLineReader::groupComponents() const
{
    std::vector<int> order;
    for (size_t i = 0; i < m_components.size(); ++i)
        if (m_components[i].area > 0)
            order.push_back(int(i));
    std::sort(order.begin(), order.end(), [this](int a, int b) {
        return m_components[size_t(a)].box.left < m_components[size_t(b)].box.left;
    });

    // Parts one above the other (the dot of an i, umlaut dots, a colon) form
    // one character; parts side by side stay separate even when their
    // columns overlap, as in kerned pairs.
    std::vector<std::vector<int>> sets;
    std::vector<CardRect> boxes;
    for (int index : order) {
        const CardRect& b = m_components[size_t(index)].box;
        bool placed = false;
        for (size_t g = sets.size(); g-- > 0 && !placed;) {
            if (boxes[g].right < b.left - b.width())
                break;
            for (int member : sets[g]) {
                const CardRect& m = m_components[size_t(member)].box;
                const int overlap = std::min(m.right, b.right) - std::max(m.left, b.left) + 1;
                const bool stacked = m.bottom < b.top || b.bottom < m.top;
                if (stacked && overlap >= 0.5 * std::min(m.width(), b.width())) {
                    sets[g].push_back(index);
                    boxes[g] = boxes[g].united(b);
                    placed = true;
                    break;
                }
            }
        }
        if (!placed) {
            sets.push_back({ index });
            boxes.push_back(b);
        }
    }

    std::vector<Group> groups;
    for (const std::vector<int>& set : sets) {
        Group group;
        int largest = 0;
        for (int i : set)
            largest = std::max(largest, m_components[size_t(i)].area);
        int main = set.front();
        for (int i : set) {
            const Component& c = m_components[size_t(i)];
            if (2 * c.area >= largest
                && (2 * m_components[size_t(main)].area < largest
                    || c.box.bottom > m_components[size_t(main)].box.bottom))
                main = i;
        }
        const CardRect& mainBox = m_components[size_t(main)].box;
        for (int i : set) {
            if (m_components[size_t(i)].box.bottom < mainBox.top)
                group.marks.push_back(i);
            else
                group.body.push_back(i);
        }
        for (int i : group.body)
            group.box = group.box.united(m_components[size_t(i)].box);
        groups.push_back(group);
    }
    std::sort(groups.begin(), groups.end(),
        [](const Group& a, const Group& b) { return a.box.left < b.box.left; });
    return groups;
}

void CardLineReader::measureLine(const std::vector<Group>& groups)
{
    std::vector<float> heights;
    for (const Group& g : groups)
        heights.push_back(float(g.box.height()));
    std::vector<float> sorted = heights;
    std::sort(sorted.begin(), sorted.end());
    const float tall = sorted[size_t(0.9 * double(sorted.size() - 1))];

    std::vector<float> bottoms;
    for (const Group& g : groups)
        if (float(g.box.height()) >= 0.6f * tall)
            bottoms.push_back(float(g.box.bottom));
    m_baseline = medianOf(bottoms);

    std::vector<float> tops;
    for (const Group& g : groups)
        if (std::abs(float(g.box.bottom) - m_baseline) <= 0.12f * tall + 1)
            tops.push_back(m_baseline - float(g.box.top) + 1);
    std::sort(tops.begin(), tops.end());
    float capital = tall;
    m_alternativeCapHeight = 0;
    if (!tops.empty() && tops.back() > 0) {
        // Small letters and capitals (or ascenders) form two clusters; the
        // capital height is the upper one. Full stops and the like are no
        // letter bodies.
        const float highest = tops.back();
        std::vector<float> bodies;
        for (float t : tops)
            if (t >= 0.4f * highest)
                bodies.push_back(t);
        const float middle = medianOf(bodies);
        const float lower = bodies[bodies.size() / 4];
        const float upper = bodies.back();
        capital = middle;
        // A line of one cluster is either small letters or capitals and
        // digits. Small letters give themselves away by ascenders that are
        // only a little taller (t), by dots and umlauts above them, or by
        // descenders; a capital is then about 1.4 small-letter heights.
        bool smallLetters = false;
        for (const Group& g : groups) {
            int top = g.box.top;
            for (int i : g.marks)
                top = std::min(top, m_components[size_t(i)].box.top);
            const float height = m_baseline - float(top) + 1;
            const float depth = float(g.box.bottom) - m_baseline;
            const float bodyHeight = m_baseline - float(g.box.top) + 1;
            // The dot of an i (one mark; umlauts have two, and sit on
            // capitals too).
            if (g.marks.size() == 1 && height > 1.25f * middle && bodyHeight < 1.12f * middle)
                smallLetters = true;
            // g, p, q, y: as wide as a small letter, reaching below the line
            // (brackets are taller and thin).
            if (depth > 0.3f * middle && bodyHeight < 1.12f * middle
                && g.box.width() > 0.6f * middle)
                smallLetters = true;
        }
        if (upper > 1.25f * lower) {
            std::vector<float> tall;
            for (float t : bodies)
                if (t >= 0.5f * (lower + upper))
                    tall.push_back(t);
            capital = medianOf(tall);
        } else {
            if (upper > 1.12f * middle || smallLetters)
                capital = 1.4f * middle;
            // Without two clusters the size stays a guess; the other
            // reading is offered too.
            m_alternativeCapHeight = capital > 1.1f * middle ? middle : 1.4f * middle;
        }
    }
    m_capHeight = std::max(4.0f, capital);
}

unsigned char CardLineReader::markOf(const Group& group) const
{
    if (group.marks.empty())
        return 0;
    if (group.marks.size() >= 2)
        return ':';
    const CardRect& b = m_components[size_t(group.marks.front())].box;
    const int area = m_components[size_t(group.marks.front())].area;
    const int w = b.width();
    const int h = b.height();
    if (w <= 1.7 * h && h <= 1.7 * w && area >= 0.55 * w * h)
        return '.';
    const int markLabel = m_components[size_t(group.marks.front())].label;
    if (w > 1.7 * h) {
        // A roof (^) has its ink at the top of the middle column, a cup at
        // the bottom.
        const int mid = (b.left + b.right) / 2;
        int first = b.bottom;
        for (int y = b.top; y <= b.bottom; ++y)
            if (m_labels[size_t(y) * size_t(m_width) + size_t(mid)] == markLabel) {
                first = y;
                break;
            }
        return first - b.top < (h + 1) / 2 ? '^' : 'v';
    }
    // A slanted stroke: compare the ink at the top row's ends.
    long sumX = 0;
    int count = 0;
    for (int x = b.left; x <= b.right; ++x)
        if (m_labels[size_t(b.top) * size_t(m_width) + size_t(x)] == markLabel) {
            sumX += x;
            ++count;
        }
    if (count == 0)
        return '.';
    const double topCentre = double(sumX) / count;
    return topCentre > 0.5 * (b.left + b.right) ? 0xB4 : '`';
}

// Touching characters (serifs that meet, "ww" in a tight font) form one
// part wider than any single character; it is cut at the thinnest column
// near its middle, as long as that column holds only a thin joint.
std::vector<CardLineReader::Group> CardLineReader::splitWide(const std::vector<Group>& groups) const
{
    const float maxWidth = 1.5f * m_capHeight;
    std::vector<Group> result;
    std::vector<Group> pending(groups.rbegin(), groups.rend());
    while (!pending.empty()) {
        Group group = pending.back();
        pending.pop_back();
        const CardRect& b = group.box;
        if (b.width() <= maxWidth || !group.marks.empty()) {
            result.push_back(group);
            continue;
        }
        std::vector<int> ink(size_t(b.width()), 0);
        for (int y = b.top; y <= b.bottom; ++y)
            for (int x = b.left; x <= b.right; ++x) {
                const int l = m_labels[size_t(y) * size_t(m_width) + size_t(x)];
                if (l && belongsTo(group, l))
                    ++ink[size_t(x - b.left)];
            }
        const int from = int(0.3 * b.width());
        const int to = int(0.7 * b.width());
        int best = -1;
        for (int i = from; i <= to; ++i) {
            const int centre = b.width() / 2;
            if (best < 0 || ink[size_t(i)] < ink[size_t(best)]
                || (ink[size_t(i)] == ink[size_t(best)]
                    && std::abs(i - centre) < std::abs(best - centre)))
                best = i;
        }
        if (best < 0 || ink[size_t(best)] > 0.25f * m_capHeight) {
            result.push_back(group);
            continue;
        }
        Group left = group;
        Group right = group;
        left.box.right = b.left + best - 1;
        right.box.left = b.left + best;
        left.clipLeft = std::max(group.clipLeft, b.left);
        left.clipRight = left.box.right;
        right.clipLeft = right.box.left;
        right.clipRight = group.clipRight >= 0 ? group.clipRight : b.right;
        // Shrink both halves to the rows their ink reaches.
        for (Group* half : { &left, &right }) {
            int top = half->box.bottom;
            int bottom = half->box.top;
            for (int y = half->box.top; y <= half->box.bottom; ++y)
                for (int x = half->box.left; x <= half->box.right; ++x) {
                    const int l = m_labels[size_t(y) * size_t(m_width) + size_t(x)];
                    if (l && belongsTo(group, l)) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
            if (top <= bottom) {
                half->box.top = top;
                half->box.bottom = bottom;
            }
        }
        pending.push_back(right);
        pending.push_back(left);
    }
    return result;
}

bool CardLineReader::belongsTo(const Group& group, int label) const
{
    for (int i : group.body)
        if (m_components[size_t(i)].label == label)
            return true;
    return false;
}

CardImage CardLineReader::canvas(const Group& group, float capital, bool shape) const
{
    const CardRect& b = group.box;
    // The character's own plane: its body ink and the grey around it, with
    // every other part (neighbours, accents) turned to paper.
    const int x0 = b.left - 1;
    const int x1 = b.right + 1;
    const int pw = x1 - x0 + 1;
    const int ph = m_height;
    std::vector<int> plane(size_t(pw) * size_t(ph), 255);
    const double stretch = 255.0 / std::max(1, m_paper - m_inkLevel);
    for (int y = 0; y < ph; ++y)
        for (int px = 0; px < pw; ++px) {
            const int x = x0 + px;
            if (x < 0 || x >= m_width)
                continue;
            const size_t at = size_t(y) * size_t(m_width) + size_t(x);
            const int l = m_labels[at];
            bool keep = false;
            if (group.clipLeft >= 0 && (x < group.clipLeft || x > group.clipRight))
                keep = false;
            else if (l)
                keep = belongsTo(group, l);
            else {
                for (int dy = -1; dy <= 1 && !keep; ++dy)
                    for (int dx = -1; dx <= 1 && !keep; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= m_width || ny >= m_height)
                            continue;
                        const int nl = m_labels[size_t(ny) * size_t(m_width) + size_t(nx)];
                        keep = nl && belongsTo(group, nl);
                    }
            }
            if (keep)
                plane[size_t(y) * size_t(pw) + size_t(px)]
                    = std::clamp(int((m_grey[at] - m_inkLevel) * stretch), 0, 255);
        }
    std::vector<long> integral(size_t(pw + 1) * size_t(ph + 1), 0);
    for (int y = 0; y < ph; ++y) {
        long rowSum = 0;
        for (int x = 0; x < pw; ++x) {
            rowSum += plane[size_t(y) * size_t(pw) + size_t(x)];
            integral[size_t(y + 1) * size_t(pw + 1) + size_t(x + 1)]
                = integral[size_t(y) * size_t(pw + 1) + size_t(x + 1)] + rowSum;
        }
    }
    auto sample = [&](double fx0, double fx1, double fy0, double fy1) {
        // Mean over the pixels the footprint covers; outside the plane is paper.
        int ix0 = int(std::floor(fx0 + 0.5));
        int ix1 = std::max(ix0 + 1, int(std::floor(fx1 + 0.5)));
        int iy0 = int(std::floor(fy0 + 0.5));
        int iy1 = std::max(iy0 + 1, int(std::floor(fy1 + 0.5)));
        const long cells = long(ix1 - ix0) * (iy1 - iy0);
        long outside = cells;
        ix0 = std::clamp(ix0, 0, pw);
        ix1 = std::clamp(ix1, 0, pw);
        iy0 = std::clamp(iy0, 0, ph);
        iy1 = std::clamp(iy1, 0, ph);
        long sum = 0;
        if (ix1 > ix0 && iy1 > iy0) {
            sum = integral[size_t(iy1) * size_t(pw + 1) + size_t(ix1)]
                - integral[size_t(iy0) * size_t(pw + 1) + size_t(ix1)]
                - integral[size_t(iy1) * size_t(pw + 1) + size_t(ix0)]
                + integral[size_t(iy0) * size_t(pw + 1) + size_t(ix0)];
            outside -= long(ix1 - ix0) * (iy1 - iy0);
        }
        return int((sum + 255 * outside) / cells);
    };

    // Geometry: either the line's (baseline and capital height fixed, so
    // size and height above the baseline stay visible) or the character's
    // own ink box scaled to 40 rows.
    double scaleY;
    double scaleX;
    double originY;
    int firstRow;
    int lastRow;
    if (shape) {
        scaleY = 40.0 / b.height();
        scaleX = std::min(scaleY, 40.0 / pw);
        originY = b.top - 4 / scaleY;
        firstRow = 4;
        lastRow = 43;
    } else {
        scaleY = capitalRows / double(capital);
        scaleX = std::min(scaleY, 46.0 / pw);
        originY = m_baseline + 1 - baselineRow / scaleY;
        firstRow = 4;
        lastRow = 43;
    }
    const double widthOnCanvas = pw * scaleX;
    const double left = (canvasSide - widthOnCanvas) * 0.5;
    CardImage image(canvasSide, canvasSide, canvasBackground);
    for (int c = 0; c < canvasSide; ++c) {
        const double fx0 = (c - left) / scaleX;
        const double fx1 = (c + 1 - left) / scaleX;
        if (fx1 <= 0 || fx0 >= pw)
            continue;
        for (int r = firstRow; r <= lastRow; ++r) {
            const double fy0 = originY + r / scaleY;
            const double fy1 = originY + (r + 1) / scaleY;
            image.setPixel(c, r, CardImage::greyPixel(sample(fx0, fx1, fy0, fy1)));
        }
    }
    return image;
}

} // namespace veldra
