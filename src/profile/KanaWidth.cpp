#include "profile/KanaWidth.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace kana {
namespace {

// The transforms are built once; ICU makes them from rule data and that is not cheap.
class Transform
{
public:
    explicit Transform(const char* id)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_transliterator.reset(icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id),
                                                                   UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_transliterator.reset();
    }

    bool isValid() const { return m_transliterator != nullptr; }

    QString apply(const QString& text) const
    {
        if (!m_transliterator || text.isEmpty())
            return text;
        icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()),
                             static_cast<int32_t>(text.size()));
        m_transliterator->transliterate(u);
        return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
    }

private:
    std::unique_ptr<icu::Transliterator> m_transliterator;
};

const Transform& hiraganaToKatakana()
{
    static const Transform t("Hiragana-Katakana");
    return t;
}

const Transform& halfToFull()
{
    static const Transform t("Halfwidth-Fullwidth");
    return t;
}

const Transform& fullToHalf()
{
    static const Transform t("Fullwidth-Halfwidth");
    return t;
}

} // namespace

bool isAvailable()
{
    return hiraganaToKatakana().isValid() && halfToFull().isValid() && fullToHalf().isValid();
}

bool isHiraganaLetter(QChar c)
{
    return c.unicode() >= 0x3041 && c.unicode() <= 0x3096;
}

QString toKatakana(const QString& text)
{
    QString result = hiraganaToKatakana().apply(text);
    // ICU keeps the small ka and ke; they are letters of the range too.
    for (QChar& c : result) {
        if (c.unicode() == 0x3095)
            c = QChar(0x30F5);
        else if (c.unicode() == 0x3096)
            c = QChar(0x30F6);
    }
    return result;
}

QString toFullWidth(const QString& text)
{
    return halfToFull().apply(text);
}

QString toHalfWidth(const QString& text)
{
    return fullToHalf().apply(text);
}

} // namespace kana
