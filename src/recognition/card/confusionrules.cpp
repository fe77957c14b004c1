#include "confusionrules.h"

#include <cstdlib>
#include <initializer_list>

namespace veldra {

namespace {

// Class indices of the labels the rules name.
enum Class {
    a = 0,
    b = 2,
    B = 3,
    c = 4,
    d = 5,
    D = 6,
    e = 7,
    E = 8,
    f = 9,
    F = 10,
    g = 11,
    G = 12,
    h = 13,
    I = 15,
    J = 16,
    k = 17,
    K = 18,
    l = 19,
    n = 23,
    o = 25,
    P = 27,
    Q = 29,
    r = 30,
    R = 31,
    s = 32,
    t = 33,
    T = 34,
    u = 35,
    x = 38,
    sharpS = 42,
    one = 43,
    three = 45,
    four = 46,
    five = 47,
    six = 48,
    seven = 49,
    eight = 50,
    nine = 51,
    zero = 52,
    at = 57,
    slash = 58,
    ampersand = 60,
    open = 61,
    close = 62,
    openSquare = 63,
    closeSquare = 64,
    rt = 65,
    oslash = 77,
    oslash2 = 78
};

} // namespace

ConfusionRules::ConfusionRules(const CardImage& image)
    : m_image(image)
{ }

int ConfusionRules::greyAt(int px, int py) const
{
    if (px < 0 || py < 0 || px >= m_image.width() || py >= m_image.height())
        return 255;
    return m_image.grey(px, py);
}

bool ConfusionRules::darkInRowFromLeft(int y, int xmax) const
{
    for (int px = 4; px <= xmax; ++px)
        if (dark(px, y))
            return true;
    return false;
}

bool ConfusionRules::darkInRowFromRight(int y, int xmin) const
{
    for (int px = xmin; px <= 43; ++px)
        if (dark(px, y))
            return true;
    return false;
}

bool ConfusionRules::darkInColumnFromTop(int px, int ymax) const
{
    for (int py = 4; py <= ymax; ++py)
        if (dark(px, py))
            return true;
    return false;
}

bool ConfusionRules::darkInColumnFromBottom(int px, int ymin) const
{
    for (int py = ymin; py <= 43; ++py)
        if (dark(px, py))
            return true;
    return false;
}

int ConfusionRules::leftAny(int xlim, int r1, int r2, int r3) const
{
    for (int px = 0; px < xlim; ++px)
        if (dark(px, r1) || dark(px, r2) || dark(px, r3))
            return px;
    return 0;
}

int ConfusionRules::leftAll(int xlim, int r1, int r2, int r3) const
{
    for (int px = 0; px < xlim; ++px)
        if (dark(px, r1) && dark(px, r2) && dark(px, r3))
            return px;
    return 0;
}

int ConfusionRules::rightAny(int xmin, int r1, int r2, int r3) const
{
    for (int px = 43; px >= xmin; --px)
        if (dark(px, r1) || dark(px, r2) || dark(px, r3))
            return px;
    return 47;
}

int ConfusionRules::rightAll(int xmin, int r1, int r2, int r3) const
{
    for (int px = 43; px >= xmin; --px)
        if (dark(px, r1) && dark(px, r2) && dark(px, r3))
            return px;
    return 47;
}

int ConfusionRules::apply(int cls, uint32_t groups) const
{
    const auto enabled = [groups](int group) { return (groups >> group) & 1u; };
    switch (cls) {
    case a:
    case u:
        return enabled(0) ? ruleAU() : cls;
    case b:
    case h:
        return enabled(1) ? ruleBH() : cls;
    case B:
    case sharpS:
    case eight:
        return enabled(2) ? ruleB8() : cls;
    case c:
    case D:
    case G:
    case o:
    case zero:
        return enabled(3) ? ruleRound() : cls;
    case e:
    case s:
    case five:
    case six:
        return enabled(4) ? ruleE5() : cls;
    case E:
    case F:
        return enabled(5) ? ruleEF() : cls;
    case f:
    case r:
    case t:
        return enabled(6) ? ruleFRT() : cls;
    case g:
    case nine:
        return enabled(7) ? ruleG9() : cls;
    case I:
    case l:
    case T:
    case seven:
        return enabled(8) ? ruleStem() : cls;
    case J:
        return enabled(9) ? ruleJ() : cls;
    case k:
    case x:
        return enabled(10) ? ruleKX(k) : cls;
    case K:
        return enabled(11) ? ruleKX(K) : cls;
    case n:
    case rt:
        return enabled(12) ? ruleN() : cls;
    case P:
    case R:
        return enabled(13) ? rulePR() : cls;
    case Q:
    case at:
    case oslash:
    case oslash2:
        return enabled(14) ? ruleQ() : cls;
    case ampersand:
        return enabled(15) ? ruleAmpersand() : cls;
    case open:
    case close:
    case openSquare:
    case closeSquare:
        return enabled(16) ? ruleBrackets() : cls;
    default:
        return cls;
    }
}

int ConfusionRules::ruleAU() const
{
    if (!darkInColumnFromTop(24, 24))
        return u;
    if (!darkInColumnFromTop(24, 10))
        return d;
    for (int row = 30; row <= 40; row += 2)
        if (!darkInRowFromRight(row, 18))
            return e;
    return a;
}

int ConfusionRules::ruleBH() const
{
    return darkInColumnFromBottom(24, 37) ? b : h;
}

int ConfusionRules::ruleB8() const
{
    if (leftAll(24, 30, 32, 34) == 0)
        return three;
    const int p = leftAll(24, 19, 21, 23);
    const int q = leftAny(24, 30, 32, 34);
    if (leftAny(24, 41, 43, 43) - q > 2 || p - q > 1)
        return eight;
    if (leftAny(24, 4, 4, 6) - leftAny(24, 14, 16, 16) < 4)
        return B;
    return sharpS;
}

int ConfusionRules::ruleRound() const
{
    bool closed = true;
    for (int row = 15; row <= 33; row += 3)
        closed = closed && darkInRowFromRight(row, 25);
    if (closed) {
        const int left1 = leftAll(24, 7, 8, 9);
        const int left2 = leftAll(24, 22, 23, 24);
        const int left3 = leftAll(24, 39, 40, 41);
        if (left1 <= left2 || left3 <= left2)
            return D;
        return leftAny(20, 21, 23, 25) <= 9 ? o : zero;
    }
    for (int px = 24; px <= 27; ++px)
        for (int py = 21; py <= 29; ++py)
            if (greyAt(px, py) < 80)
                return G;
    auto rightmost = [this](int row) {
        for (int px = 47; px >= 31; --px)
            if (greyAt(px, row) < 80)
                return px;
        return 47;
    };
    const int upper = rightmost(27);
    const int lower = rightmost(39);
    if ((upper < 47 || lower < 47) && std::abs(upper - lower) < 2)
        return G;
    return c;
}

int ConfusionRules::ruleE5() const
{
    bool closedLeft = true;
    for (int row = 26; row <= 36; row += 2)
        closedLeft = closedLeft && darkInRowFromLeft(row, 18);
    if (closedLeft) {
        bool top = true;
        for (int row = 12; row <= 20; row += 2)
            top = top && darkInRowFromRight(row, 30);
        if (top)
            return e;
        for (int row = 28; row <= 34; row += 2)
            if (!darkInRowFromRight(row, 24))
                return E;
        return six;
    }
    bool smooth = true;
    int previous = leftAny(40, 17, 0, 0);
    for (int row = 19; row <= 27; row += 2) {
        const int edge = leftAny(40, row, 0, 0);
        smooth = smooth && edge - previous < 6;
        previous = edge;
    }
    if (smooth)
        return s;
    const int m1 = leftAny(35, 5, 6, 6);
    const int m2 = leftAll(35, 13, 14, 15);
    if (m1 - m2 < 1)
        return five;
    if (leftAll(35, 21, 22, 22) - m2 < 1)
        return five;
    return s;
}

int ConfusionRules::ruleEF() const
{
    if (darkInRowFromRight(15, 30) && darkInRowFromRight(17, 30) && darkInRowFromRight(19, 30))
        return P;
    return darkInColumnFromBottom(28, 40) ? E : F;
}

int ConfusionRules::ruleFRT() const
{
    const int left1 = leftAny(35, 4, 6, 8);
    int stem = 0;
    for (int px = 4; px < 35 && stem == 0; ++px)
        for (int row : { 14, 16, 18, 20 })
            if (greyAt(px, row) < 80) {
                stem = px;
                break;
            }
    const int left3 = leftAny(35, 28, 30, 32);
    if (left1 - stem >= 1 && left3 - stem >= 1)
        return rightAny(16, 39, 41, 43) - rightAny(16, 30, 32, 34) < 1 ? f : t;
    const int top = leftAny(35, 5, 6, 7);
    const int middle = leftAny(35, 20, 22, 24);
    const int bottom = leftAny(35, 40, 41, 42);
    if (top > middle + 2 && bottom > middle + 2)
        return c;
    if (darkInColumnFromBottom(29, 22))
        return darkInColumnFromBottom(29, 35) ? E : F;
    return rightAny(16, 4, 6, 8) - rightAll(16, 12, 16, 20) < 3 ? l : r;
}

int ConfusionRules::ruleG9() const
{
    for (int row = 20; row <= 32; row += 2)
        if (!darkInRowFromRight(row, 24))
            return g;
    for (int row = 10; row <= 20; row += 2)
        if (!darkInRowFromLeft(row, 20))
            return a;
    auto zeroIfNone = [](int v) { return v == 47 ? 0 : v; };
    const int p = zeroIfNone(rightAll(20, 6, 8, 10));
    const int q = zeroIfNone(rightAll(20, 18, 20, 22));
    const int rr = zeroIfNone(rightAll(20, 27, 29, 31));
    if (p < q || (p == q && q > rr))
        return nine;
    return g;
}

int ConfusionRules::ruleStem() const
{
    if (!darkInColumnFromTop(14, 11)) {
        const int upper = leftAny(43, 16, 17, 18);
        const int lower = leftAny(43, 35, 36, 37);
        if (upper - lower >= 6 && upper >= 1 && lower >= 1)
            return slash;
        const int cl = leftAny(30, 17, 19, 21);
        const int dl = leftAny(30, 30, 32, 36);
        const int er = rightAny(15, 17, 19, 21);
        const int gr = rightAny(15, 30, 32, 36);
        if (cl >= dl || er <= gr) {
            const int h1 = rightAny(16, 5, 6, 7) - rightAny(16, 20, 22, 24);
            const int h2 = rightAny(16, 40, 41, 42) - rightAny(16, 20, 22, 24);
            if (h1 >= 2 && h2 >= 2)
                return open;
            if (h1 < 4 || h2 >= 3)
                return l;
            if (h2 > -3)
                return r;
            return l;
        }
        return rightAny(16, 5, 7, 9) > gr ? f : t;
    }
    auto firstDark = [this](int row) {
        for (int px = 0; px <= 43; ++px)
            if (greyAt(px, row) < 80)
                return px;
        return -1;
    };
    const int upper = std::max(0, firstDark(18));
    const int lower = firstDark(35);
    if (lower < 0)
        return upper < 4 ? T : seven;
    return upper - lower < 4 ? T : seven;
}

int ConfusionRules::ruleJ() const
{
    const int v = leftAny(40, 21, 23, 25) + 3;
    if (leftAll(40, 12, 14, 16) <= v)
        return J;
    return leftAll(40, 30, 32, 34) > v ? three : J;
}

int ConfusionRules::ruleKX(int kClass) const
{
    const int v = leftAll(30, 21, 22, 23);
    if (leftAll(30, 8, 10, 12) >= v)
        return kClass;
    return leftAll(30, 36, 38, 40) < v ? x : kClass;
}

int ConfusionRules::ruleN() const
{
    int counted = 0;
    for (int row = 3; row <= 19; ++row) {
        int first = -1;
        for (int px = 0; px < m_image.width(); ++px)
            if (greyAt(px, row) < 80) {
                first = px;
                break;
            }
        if (first >= 0 && first < 25)
            return n;
        if (++counted > 3)
            return rt;
    }
    return n;
}

int ConfusionRules::rulePR() const
{
    if (!(darkInRowFromRight(15, 30) && darkInRowFromRight(17, 30) && darkInRowFromRight(19, 30)))
        return F;
    if (!darkInColumnFromTop(20, 12))
        return K;
    return darkInRowFromRight(42, 25) ? R : P;
}

int ConfusionRules::ruleQ() const
{
    for (int row = 9; row <= 19; row += 2)
        if (!darkInRowFromLeft(row, 24))
            return a;
    bool centre = false;
    for (int px = 19; px <= 27 && !centre; ++px)
        for (int py = 19; py <= 27 && !centre; ++py)
            centre = greyAt(px, py) < 80;
    if (!centre)
        return rightAny(24, 38, 40, 42) < rightAny(24, 28, 30, 32) ? o : Q;
    CardImage edges = m_image;
    edges.applyEdgeMap(15);
    int runs = 0;
    for (int row : { 19, 23, 27 }) {
        bool inside = false;
        for (int px = 4; px <= 43; ++px) {
            const bool bright
                = row < edges.height() && px < edges.width() && edges.grey(px, row) >= 81;
            if (bright && !inside)
                ++runs;
            inside = bright;
        }
    }
    if (float(runs) / 3.0f < 5.5f)
        return e;
    int previous = rightAny(24, 24, 0, 0);
    for (int row = 26; row <= 38; row += 2) {
        const int edge = rightAny(24, row, 0, 0);
        if (edge - previous >= 2)
            return at;
        previous = edge;
    }
    return oslash;
}

int ConfusionRules::ruleAmpersand() const
{
    if (leftAll(40, 32, 34, 36) > 20)
        return s;
    const int v = rightAll(10, 11, 13, 15);
    if (v > 30 || v - leftAll(40, 11, 13, 15) > 6)
        return ampersand;
    for (int y = 42; y >= 30; --y)
        if (greyAt(14, y + 1) < 110 && greyAt(18, y) < 110 && greyAt(22, y) < 110
            && greyAt(26, y) < 110 && greyAt(30, y) < 110 && greyAt(34, y + 1) < 110)
            return four;
    return six;
}

int ConfusionRules::ruleBrackets() const
{
    const int la = leftAny(35, 5, 6, 7);
    const int lm = std::min(leftAny(35, 21, 22, 23), leftAny(35, 24, 25, 26));
    const int lb = leftAny(35, 38, 40, 42);
    const int rc = rightAny(10, 5, 6, 7);
    const int rn = std::max(rightAny(10, 21, 22, 23), rightAny(10, 24, 25, 26));
    const int rd = rightAny(10, 38, 40, 42);
    if (la > lm && lb > lm && rc > rn && rd > rn)
        return open;
    if (lm > la && lb < lm && rc < rn && rd < rn) {
        const int middle = rightAll(10, 20, 22, 24);
        if (rightAny(10, 12, 14, 16) <= middle || rightAny(10, 29, 31, 33) <= middle)
            return close;
        return three;
    }
    if (rc > rn + 1 && rd > rn + 1 && la <= lm + 1 && lb <= lm + 1 && lb >= lm - 1)
        return openSquare;
    if (la < lm - 1 && lb < lm - 1 && rc >= rn - 1 && rd >= rn - 1 && rd <= rn + 1)
        return closeSquare;
    if (lm - lb > 2 && rd <= rn)
        return J;
    const int l5 = leftAny(35, 5, 5, 5);
    const int l6 = leftAny(35, 6, 6, 6);
    const int l7 = leftAny(35, 7, 7, 7);
    return l6 < l5 - 1 || l7 < l5 - 1 ? one : l;
}

} // namespace veldra
