#pragma once
// File names the transfer commands propose: the table (or "ruv_mdb") and the local time.
#include <QString>

// The local time of the clock seam as "yy-MM-dd_HH_mm_ss" (ASCII digits whatever the locale).
QString transfer_stamp();

// The text with every character that a file name cannot hold on any desktop (path separators,
// the characters Windows refuses, control characters) replaced by "_".
QString file_name_safe(const QString& text);

// table + "_" + stamp + ext (ext with its dot, as ".csv" or ".bin"); the table part made safe.
QString preset_table_file(const QString& table, const QString& ext);

// "ruv_mdb_" + stamp + ".rbk".
QString preset_db_file();
