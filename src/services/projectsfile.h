#pragma once

#include "services/projectlist.h"

#include <QList>
#include <QString>

// Where the projects file is read from and written to.
struct ProjectsFilePaths
{
    QString read;
    QString write;
};

// "konfiguracja/projekty.markora" beside the program (or in its data folder) while that
// folder can be written; otherwise "projekty.markora" in the user's configuration folder
// (~/.config/Lindenworks/Markora on Linux), which is read from the program's folder's copy
// until it is first written. Once the user's file exists it is the one used.
ProjectsFilePaths DefaultProjectsFilePaths();
// The same choice over given paths, for tests: programFile is the file beside the
// program, userFile the one in the user's folder.
ProjectsFilePaths ChooseProjectsFilePaths(const QString &programFile, const QString &userFile);

struct ProjectsLoad
{
    enum Status {
        Loaded,
        Missing, // no file yet: an empty list
        Failed, // the file is there but cannot be read: nothing may be written over it
    };
    Status status = Missing;
    ProjectList list;
    QList<ProjectProblem> problems; // lines not understood, kept in the list as they were
    QString errorText;
};

ProjectsLoad LoadProjectsFile(const QString &path);

// Writes the list whole beside the file and then replaces it (missing folders are made),
// so that a failure leaves the old file as it was. False with the system's reason.
bool SaveProjectsFile(const QString &path, const ProjectList &list, QString *errorText = nullptr);
