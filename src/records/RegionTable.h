#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <vector>

// The provinces, cities and county-level units of the built-in region table, found by
// their full names and by the short forms people type (广西, 阿坝州, 融水县, 朝阳).
namespace slipcraft {

class RegionTable {
public:
    enum class Level : quint8 { Province, City, District };

    struct Region {
        QString name; // as the table writes it
        Level level;
        int parent;   // -1 for a province
        int province; // itself for a province
    };

    // One region a name stands for.
    struct Meaning {
        int region;
        bool fullName; // else a short form
    };

    struct Name {
        QString text;
        QList<Meaning> meanings;
    };

    // Built on first use from ":/data/china-regions.csv"; shared, never changed.
    static const RegionTable& instance();

    const Region& region(int id) const { return m_regions[size_t(id)]; }
    int regionCount() const { return int(m_regions.size()); }

    // The four municipalities: their districts sit under a city of the province's own name.
    bool isMunicipality(int province) const { return m_regions[size_t(province)].name.endsWith(u'市'); }

    // The names that start at text[pos], longest first.
    template<typename Found>
    void forEachNameAt(QStringView text, qsizetype pos, Found&& found) const
    {
        if (pos + 1 >= text.size() || text[pos].unicode() < 0x3400)
            return;
        const auto bucket = m_byFirstTwo.constFind(key(text[pos], text[pos + 1]));
        if (bucket == m_byFirstTwo.constEnd())
            return;
        const QStringView rest = text.mid(pos);
        for (int index : *bucket) {
            const Name& name = m_names[size_t(index)];
            if (rest.startsWith(name.text))
                found(name);
        }
    }

private:
    RegionTable();
    void addRegionNames(int region);
    void addName(const QString& text, int region, bool fullName);
    static quint32 key(QChar first, QChar second) { return (quint32(first.unicode()) << 16) | second.unicode(); }

    std::vector<Region> m_regions;
    std::vector<Name> m_names;
    QHash<QString, int> m_nameIndex;
    // Names by their first two characters, longest first.
    QHash<quint32, QList<int>> m_byFirstTwo;
};

} // namespace slipcraft
