// Substring search over the entries of the address list.
#include "app/AddressListIndex.h"

#include <QAbstractItemModel>

#include <cstring>

namespace {
constexpr char Separator = '\n';
constexpr int IdleRebuildMs = 1000;

// Texts the UTF-8 copy cannot answer for: a line end, or a character that
// converting to UTF-8 may have made out of something else.
bool needsScan(const QString &text)
{
    return text.contains(QLatin1Char(Separator)) || text.contains(QChar::ReplacementCharacter) ||
           !text.isValidUtf16();
}

bool containsBytes(const QByteArray &haystack, const QByteArray &needle)
{
#ifdef __GLIBC__
    // The C library's search is some thirty times faster than a
    // Boyer-Moore search here.
    return needle.isEmpty() || memmem(haystack.constData(), size_t(haystack.size()),
                                      needle.constData(), size_t(needle.size())) != nullptr;
#else
    return haystack.contains(needle);
#endif
}
} // namespace

AddressListIndex::AddressListIndex(QAbstractItemModel *model, QObject *parent)
    : QObject(parent), m_model(model)
{
    // A single entry appended at the end (every GO!) extends the copy. Any
    // other change, such as a history loaded in batches at start-up, has it
    // rebuilt once the list has been left alone for a moment, or at the next
    // question if that comes first: copying 100,000 entries takes 20 ms,
    // which start-up need not wait for.
    m_idleRebuild.setSingleShot(true);
    m_idleRebuild.setInterval(IdleRebuildMs);
    connect(&m_idleRebuild, &QTimer::timeout, this, [this] {
        if (m_stale)
            rebuild();
    });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &parentIndex, int first, int last) {
                if (!parentIndex.isValid() && !m_stale && first == last &&
                    last == m_model->rowCount() - 1)
                    append(first, last);
                else
                    markStale();
            });
    auto stale = [this] { markStale(); };
    connect(model, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(model, &QAbstractItemModel::rowsMoved, this, stale);
    connect(model, &QAbstractItemModel::modelReset, this, stale);
    connect(model, &QAbstractItemModel::layoutChanged, this, stale);
    connect(model, &QAbstractItemModel::dataChanged, this, stale);
    if (model->rowCount() > 0)
        markStale();
}

void AddressListIndex::markStale()
{
    m_stale = true;
    m_text.clear();
    m_idleRebuild.start();
}

bool AddressListIndex::anyEntryContains(const QString &text) const
{
    if (m_model->rowCount() == 0)
        return false;
    if (needsScan(text)) {
        for (int row = 0; row < m_model->rowCount(); ++row) {
            if (m_model->index(row, 0).data().toString().contains(text))
                return true;
        }
        return false;
    }
    if (m_stale)
        rebuild();
    return containsBytes(m_text, text.toUtf8());
}

void AddressListIndex::append(int first, int last) const
{
    for (int row = first; row <= last; ++row) {
        m_text += m_model->index(row, 0).data().toString().toUtf8();
        m_text += Separator;
    }
}

void AddressListIndex::rebuild() const
{
    m_idleRebuild.stop();
    m_text.clear();
    m_stale = false;
    append(0, m_model->rowCount() - 1);
}
