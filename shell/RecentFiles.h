#pragma once
// File > Open Recent: the last eight files opened, imported or saved, newest first, kept in the
// user's settings from one start of the program to the next.

#include <QObject>
#include <QStringList>

class QMenu;

class RecentFiles : public QObject {
    Q_OBJECT
  public:
    static constexpr int Kept = 8;

    // Fills the menu, and again whenever the list changes.
    RecentFiles(QMenu* menu, QObject* parent);

    QStringList Files() const;
    void Add(const QString& path);
    void Remove(const QString& path);

  signals:
    void Chosen(const QString& path);

  private:
    void Store(const QStringList& files);
    void Fill();

    QMenu* menu_;
    QStringList files_;
};
