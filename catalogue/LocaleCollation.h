#pragma once
// One locale's collation with case ignored: comparing two texts, ordering many by their keys.

#include <QLocale>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

struct UCollator;

// The collation is ICU's, set up as QCollator sets it up for the locale with case
// ignored, so texts come in exactly the order QCollator gives them. The keys are
// kept in a few large blocks, not one allocation each as QCollatorSortKey does.
class LocaleCollation
{
public:
    // Sets line to text i. Called from several threads at once for many texts.
    using TextAt = std::function<void(int i, QString &line)>;

    explicit LocaleCollation(const QLocale &locale);
    ~LocaleCollation();
    LocaleCollation(const LocaleCollation &) = delete;
    LocaleCollation &operator=(const LocaleCollation &) = delete;

    // False when the collation could not be opened; nothing else may be called then.
    bool IsValid() const { return m_collator != nullptr; }
    // Negative, zero or positive as a sorts before, with or after b; makes no key.
    int Compare(QStringView a, QStringView b) const;

    // The positions 0..count-1 in ascending order of their texts; equal texts keep
    // their order.
    std::vector<int> AscendingOrder(int count, const TextAt &text) const;

private:
    UCollator *m_collator = nullptr;
};
