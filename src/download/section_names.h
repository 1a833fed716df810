#pragma once

#include "download/download_step.h"
#include "download/tag_scanner.h"

#include <optional>

// The kind a section cell of a round page names ("第123回totoくじ情報", "第45回　BIG　くじ結果"),
// or nothing when the cell names none. Schedule pages mark sections "くじ情報", result
// pages "くじ結果"; the BIG side writes a full-width space before the marker.
std::optional<QString> section_name(const QString &cell, bool big, bool results);

// Reads cells until the section cell of the kind; false when the text ends first.
bool find_section(TagScanner &s, const KindPage &page, bool results, QString &cell);

// Then moves on to the table after that cell and just past its first TR.
bool find_kind_table(TagScanner &s, const KindPage &page, bool results, QString &cell);
