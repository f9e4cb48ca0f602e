#pragma once

#include "data/Database.h"
#include "shell/AppContext.h"
#include "shell/UserMessages.h"

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

// A fresh run path with its database for one benchmark; the program ends with a message
// when the database cannot be made.
struct BenchHome {
    explicit BenchHome(slipcraft::ProductData productData)
    {
        const QString runPath = dir.path() + QLatin1Char('/');
        if (const QString problem = slipcraft::prepareDatabaseFile(runPath + QStringLiteral("Data/EPData.ini"), productData);
            !problem.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(problem));
            std::exit(1);
        }
        context = std::make_unique<slipcraft::AppContext>(runPath, messages);
    }

    QTemporaryDir dir;
    slipcraft::ConsoleMessages messages;
    std::unique_ptr<slipcraft::AppContext> context;
};
