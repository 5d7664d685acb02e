#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The projects: named groups of documents with their creation date, kept in the projects
// file ("projekty.markora"). The file is UTF-8 text with CR LF line breaks:
//
//   ; a comment
//   Projekt: Strona domowa
//   Utworzony: 2024-05-01 12:30:00
//   Dokument: /home/ala/www/index.html
//
// "Projekt:" starts a project; "Utworzony:" (local time) and any number of "Dokument:"
// lines (a full path each) follow it. Blank lines only separate projects. A line the
// reader does not understand (or that is not UTF-8) is reported and kept as it was, bytes
// and all, in its place among the lines of its project, as are comment lines (";" or
// "#"); writing gives them back there, so nothing in a damaged file is lost by a save.

// One line of a project after its header: a document, or a line kept as it was read.
struct ProjectLine
{
    QString document; // the full path; empty for a kept line
    QByteArray kept; // a kept line's bytes, without its line break
};

struct Project
{
    QString name;
    QDateTime created; // invalid when the file gave none
    QList<ProjectLine> lines;

    // The documents in the file's order.
    QStringList documents() const;
};

struct ProjectProblem
{
    int line = 0; // 1-based
    QString text; // the line as read (shortened), for the message
};

class ProjectList
{
public:
    // An empty list, whose file starts with a comment that says how it is written.
    ProjectList();
    // Reads the file's bytes; every line that is not understood goes to problems.
    static ProjectList parse(QByteArrayView bytes, QList<ProjectProblem> *problems = nullptr);
    QByteArray toBytes() const;

    const QList<Project> &projects() const { return m_projects; }
    // -1 when there is no project of that name (compared exactly).
    int indexOf(const QString &name) const;

    // A valid project name: not empty or only blanks, no line breaks or other control
    // characters.
    static bool isValidName(const QString &name);
    // Appends a project; false for an invalid name or one already there.
    bool addProject(const QString &name, const QDateTime &created);
    // Removes the project; the lines kept in it (damaged or comments) move to the head of
    // the file, so that they are still written.
    void removeProject(int index);
    // Adds a full path to the project; false when it is there already or empty.
    bool addDocument(int project, const QString &path);
    // Removes the path's line from the project; false when it is not there.
    bool removeDocument(int project, const QString &path);

private:
    QList<QByteArray> m_head; // kept lines before the first project
    QList<Project> m_projects;
};
