#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>
#include <xlsxwriter.h>
#include <zip.h>

// A workbook that a test builds cell by cell and writes when it is done.
class XlsxFixture {
public:
    explicit XlsxFixture(const QString& path, bool constantMemory = false)
    {
        lxw_workbook_options options{};
        options.constant_memory = constantMemory;
        book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    }
    ~XlsxFixture()
    {
        if (book)
            lxw_workbook_free(book);
    }

    lxw_worksheet* sheet(const char* name) { return workbook_add_worksheet(book, name); }
    lxw_format* numberFormat(const char* code)
    {
        lxw_format* format = workbook_add_format(book);
        format_set_num_format(format, code);
        return format;
    }
    void close()
    {
        EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
        book = nullptr;
    }

    lxw_workbook* book;
};

// One member of a zip archive; empty when it cannot be read.
inline QByteArray zipMember(const QString& archivePath, const char* member)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(archivePath).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    QByteArray bytes;
    if (zip_file_t* file = zip_fopen(archive, member, 0)) {
        char buffer[65536];
        zip_int64_t count;
        while ((count = zip_fread(file, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, qsizetype(count));
        zip_fclose(file);
    }
    zip_discard(archive);
    return bytes;
}
