#pragma once

#include "platform/printing/PrintService.h"

#include <cstdlib>

// A list of printer names and the one selected; the setup dialog answers as told and
// nothing prints.
class FakePrintService final : public slipcraft::PrintService {
public:
    explicit FakePrintService(QStringList printerNames = {QStringLiteral("Office"), QStringLiteral("Bills"), kPdfPrinterName})
        : names(std::move(printerNames))
        , current(names.value(0))
    {
    }

    QStringList printerNames() const override { return names; }
    QString currentPrinter() const override { return current; }
    bool selectPrinter(const QString& name) override
    {
        if (!names.contains(name))
            return false;
        current = name;
        return true;
    }
    SetupResult showSetupDialog(QWidget*) override { return answer; }
    slipcraft::Printer& printer() override { std::abort(); }

    QStringList names;
    QString current;
    SetupResult answer = SetupResult::Confirmed;
};
