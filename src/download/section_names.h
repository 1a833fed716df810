#pragma once

#include "download/download_state.h"
#include "download/download_step.h"
#include "download/tag_scanner.h"

#include <functional>
#include <optional>

// The kind a section cell of a round page names ("第123回totoくじ情報", "第45回　BIG　くじ結果"),
// or nothing when the cell names none. Schedule pages mark sections "くじ情報", result
// pages "くじ結果"; the BIG side writes a full-width space before the marker.
std::optional<QString> section_name(const QString &cell, bool big, bool results);

// Reads cells until the section cell of the kind; false when the text ends first.
bool find_section(TagScanner &s, const KindPage &page, bool results, QString &cell);

// Then moves on to the table after that cell and just past its first TR.
bool find_kind_table(TagScanner &s, const KindPage &page, bool results, QString &cell);

// The kinds a round page of the toto or the BIG side lists, as the choices of the next
// step: `take` makes the choice of each cell that names a kind's section (cell, kind name,
// kind). Nothing when the page has no table.
using KindChoice = std::function<ChoiceEntry(const QString &cell, const QString &name, const KindPage &page)>;
std::optional<std::vector<ChoiceEntry>> read_kind_choices(const QString &text, bool big, bool results,
                                                          const KindChoice &take);
