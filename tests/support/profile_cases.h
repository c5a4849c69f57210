#pragma once
// Small profile files, good and broken, with what the Windows profile functions make of
// them. Shared by the pure-text tests and by the run against the real functions (Wine).
// Sources: [doc] Microsoft's pages; [nt] Wine's kernel32 profile tests, which pass on
// Windows NT and later; [wine] Wine's implementation, where Windows left no record.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct ProfileReadCase {
    std::string name;
    std::string file;
    std::string section;
    std::string key;
    std::string defaultValue;
    size_t bufferSize;
    std::string expected;
    // Wine answers otherwise; the expectation follows the record of Windows itself.
    bool wineDiffers = false;
};

struct ProfileWriteCase {
    std::string name;
    std::string file;
    std::string section;
    std::string key;
    std::string value;
    std::string expected;
    // Wine rewrites the whole file from its parsed form (drops blank lines, writes CR LF,
    // "key=value" without blanks); Windows edits the text. For these files only the
    // written value is compared with Wine, not the bytes.
    bool wineRewrites = false;
};

// A literal with NUL bytes inside, all of it.
template <size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// A file as Notepad saves it as "Unicode": the UTF-16 LE byte order mark, two bytes a character.
inline std::string utf16File(std::u16string_view text) {
    std::string file = "\xff\xfe";
    for (char16_t c : text) {
        file += static_cast<char>(c & 0xff);
        file += static_cast<char>(c >> 8);
    }
    return file;
}

inline std::vector<ProfileReadCase> profileReadCases() {
    const std::string ram = "[RAM]\r\nRelease=3\r\n";
    const std::string v300(300, 'x');
    const std::string longLine(100000, 'y');
    return {
        // Finding the key [doc] [nt]
        {"crlf", ram, "RAM", "Release", "0", 255, "3"},
        {"lf_only", "[RAM]\nRelease=3\n", "RAM", "Release", "0", 255, "3"},
        {"cr_only", "[RAM]\rRelease=3\rOther=4\r", "RAM", "Other", "0", 255, "4"},       // [nt]
        {"cr_inside_line", "[RAM]\r\nRelease=3\rjunk\r\n", "RAM", "Release", "0", 255, "3"},  // [nt]
        {"blank_line_runs", "\n\r\n\r[RAM]\n\r\n\rRelease=4\n\n", "RAM", "Release", "0", 255, "4"},
        {"no_final_newline", "[RAM]\r\nRelease=3", "RAM", "Release", "0", 255, "3"},
        {"case_of_names", "[rAm]\r\nrELEASE=3\r\n", "Ram", "Release", "0", 255, "3"},  // [nt]
        {"second_section", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", "b", "K", "0", 255, "2"},
        // Missing file, section or key: the default [doc] [nt]
        {"empty_file", "", "RAM", "Release", "0", 255, "0"},
        {"missing_section", ram, "Auto", "Release", "5", 255, "5"},
        {"missing_key", ram, "RAM", "Minimum", "1.5", 255, "1.5"},
        {"empty_section", "[RAM]\r\n[Auto]\r\nRelease=3\r\n", "RAM", "Release", "d", 255, "d"},
        {"default_trailing_blanks", "", "s", "k", "one two  ", 255, "one two"},  // [nt]
        {"default_leading_blanks", "", "s", "k", "  x   ", 255, "  x"},          // [wine] (Win95 record)
        {"default_trailing_tab_kept", "", "s", "k", "x\t", 255, "x\t"},           // [wine]
        {"default_cut", "", "s", "k", "default", 4, "def"},                       // [wine]
        {"default_quotes", "", "s", "k", "\"q\"", 255, "q"},                      // [wine]
        {"default_all_blanks", "", "s", "k", "   ", 255, " "},                     // [wine]
        // Buffer size [nt]: size - 1 chars fit
        {"buffer_exact", "[s]\r\nname1=val1\r\n", "s", "name1", "d", 5, "val1"},
        {"buffer_one_short", "[s]\r\nname1=val1\r\n", "s", "name1", "d", 4, "val"},
        {"buffer_of_one", "[s]\r\nname4=a\r\n", "s", "name4", "d", 1, ""},
        {"buffer_of_zero", "[s]\r\nname4=a\r\n", "s", "name4", "d", 0, ""},
        {"value_300_cut_to_254", "[s]\r\nk=" + v300 + "\r\n", "s", "k", "d", 255, v300.substr(0, 254)},
        {"very_long_value", "[s]\r\nk=" + longLine, "s", "k", "d", 255, longLine.substr(0, 254)},
        {"very_long_junk_line", "[s]\r\n" + longLine + "\r\nk=2\r\n", "s", "k", "d", 255, "2"},
        // Blanks around names and values [nt] [wine]
        {"blanks_around_equals", "[RAM]\r\n  Release \t=  3 \t\r\n", "RAM", "Release", "0", 255, "3"},
        {"blanks_in_section_line", "  [ RAM ]  \r\nRelease=3\r\n", "RAM", "Release", "0", 255, "3"},  // [nt]
        {"blanks_around_query", ram, " RAM\t", "  Release ", "0", 255, "3"},
        {"blank_inside_name", "[s]\r\nGraph Interval=2\r\n", "s", "Graph Interval", "0", 255, "2"},
        {"blank_inside_value", "[s]\r\nk= a  b \r\n", "s", "k", "0", 255, "a  b"},
        {"dos_eof_is_blank", "[RAM]\r\nRelease=3\x1a", "RAM", "Release", "0", 255, "3"},  // [wine]
        // Values [nt] [wine]
        {"empty_value", "[s]\r\nname2=\r\n", "s", "name2", "d", 255, ""},                // [nt]
        {"equals_in_value", "[s]\r\nk=a=b\r\n", "s", "k", "d", 255, "a=b"},
        {"double_quotes", "[s]\r\nname2=\"val2\"\r\n", "s", "name2", "d", 255, "val2"},  // [nt]
        {"single_quotes", "[s]\r\nk='v'\r\n", "s", "k", "d", 255, "v"},
        {"quotes_keep_inner_blanks", "[s]\r\nk=\" a \"\r\n", "s", "k", "d", 255, " a "},
        {"empty_quotes", "[s]\r\nk=\"\"\r\n", "s", "k", "d", 255, ""},
        {"lone_quote", "[s]\r\nk=\"\r\n", "s", "k", "d", 255, "\""},
        {"unmatched_quotes", "[s]\r\nk=\"v'\r\n", "s", "k", "d", 255, "\"v'"},
        {"opening_quote_only", "[s]\r\nk=\"v\r\n", "s", "k", "d", 255, "\"v"},
        {"quoted_and_cut", "[s]\r\nk=\"abcdef\"\r\n", "s", "k", "d", 4, "abc"},
        {"ansi_bytes", "[s]\r\nk=Caf\xe9 \xc0\xff\xa0\r\n", "s", "k", "d", 255, "Caf\xe9 \xc0\xff\xa0"},
        {"control_bytes", "[s]\r\nk=\x01\x7f\x02\r\n", "s", "k", "d", 255, "\x01\x7f\x02"},
        {"nul_ends_value", bytes("[s]\r\nk=3\0junk\r\n"), "s", "k", "d", 255, "3"},  // [wine]
        // Broken files and lines that are no keys [nt] [wine]
        {"line_without_equals", "[s]\r\nname3\r\n", "s", "name3", "d", 255, "d"},  // [nt]
        // [nt] lists such a line as an entry of its section; [wine] finds it by name first
        {"line_without_equals_hides_later_key", "[s]\r\nk\r\nk=5\r\n", "s", "k", "d", 255, "d"},
        {"comment_is_no_key", "[s]\r\n;k=9\r\nk=1\r\n", "s", "k", "d", 255, "1"},
        {"key_before_any_section", "k=9\r\n[s]\r\nx=1\r\n", "s", "k", "d", 255, "d"},
        {"first_section_wins", "[s]\r\nx=1\r\n[S]\r\nk=2\r\n", "s", "k", "d", 255, "d"},  // [wine]
        {"first_key_wins", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "d", 255, "1"},             // [wine]
        {"section_without_bracket", "[s]\r\nx=1\r\n[t\r\nk=5\r\n", "s", "k", "d", 255, "5"},
        {"section_without_bracket_absent", "[s]\r\n[t\r\nk=5\r\n", "t", "k", "d", 255, "d"},
        {"text_after_bracket", "[s] ; note\r\nk=1\r\n", "s", "k", "d", 255, "1"},
        {"name_to_last_bracket", "[a]b]\r\nk=1\r\n", "a]b", "k", "d", 255, "1"},
        {"garbage", bytes("\0\x01[[[==]]]\xff\r\r\n===\r\n[\r\n]\r\n"), "RAM", "Release", "0", 255, "0"},
        {"binary_then_section", bytes("\x89PNG\0\x1a\r\n[s]\r\nk=7\r\n"), "s", "k", "d", 255, "7"},
        // A UTF-16 LE file with its mark is read in that encoding; the caller gets ANSI
        // (code page 1252), '?' for a character it lacks
        {"utf16", utf16File(u"[RAM]\r\nRelease=3\r\n"), "RAM", "Release", "0", 255, "3"},
        {"utf16_names_and_blanks", utf16File(u" [ ram ]\r\n release = 4 \r\n"), "RAM", "Release", "0", 255, "4"},
        {"utf16_missing_key", utf16File(u"[RAM]\r\nRelease=3\r\n"), "RAM", "Minimum", "1.5", 255, "1.5"},
        {"utf16_ansi_value", utf16File(u"[s]\r\nk=Caf\u00e9 \u20ac\r\n"), "s", "k", "d", 255, "Caf\xe9 \x80"},
        {"utf16_value_beyond_ansi", utf16File(u"[s]\r\nk=\u65e5\u672c\r\n"), "s", "k", "d", 255, "??"},
        {"utf16_ansi_names", utf16File(u"[Caf\u00e9]\r\nk=1\r\n"), "Caf\xe9", "k", "d", 255, "1"},
        {"utf16_cut", utf16File(u"[s]\r\nk=abcdef\r\n"), "s", "k", "d", 4, "abc"},
        {"utf16_lf_only", utf16File(u"[s]\nk=2\n"), "s", "k", "d", 255, "2"},
        // Known differences of Wine. [nt]: "[]" is a section named "" (Wine's test marks it
        // todo); Windows 10 does not know a UTF-8 BOM, which hides a section on line 1;
        // Wine drops the last char of a quoted value that exactly fills the buffer.
        {"empty_section_name", "k=1\r\n[]\r\nk=2\r\n", "", "k", "d", 255, "2", true},
        {"utf8_bom_hides_first_section", "\xef\xbb\xbf[s]\r\nk=1\r\n", "s", "k", "d", 255, "d", true},
        {"quoted_value_filling_buffer", "[s]\r\nk=\"abc\"\r\n", "s", "k", "d", 4, "abc", true},
    };
}

inline std::vector<ProfileWriteCase> profileWriteCases() {
    return {
        // [nt] the file built up by Wine's write test, key by key
        {"new_file", "", "App", "key", "", "[App]\r\nkey=\r\n"},
        {"replace_in_place", "[RAM]\r\nRelease=3\r\n[Auto]\r\nMinimum=1\r\n", "RAM", "Release", "5",
         "[RAM]\r\nRelease=5\r\n[Auto]\r\nMinimum=1\r\n"},
        {"new_key_at_end_of_section", "[A]\r\nk1=1\r\nk2=2\r\n[B]\r\nk4=4\r\n", "A", "k3", "3",
         "[A]\r\nk1=1\r\nk2=2\r\nk3=3\r\n[B]\r\nk4=4\r\n"},
        {"new_section_at_end", "[A]\r\nk1=1\r\n[B]\r\nk4=4\r\n", "C", "k5", "5",
         "[A]\r\nk1=1\r\n[B]\r\nk4=4\r\n[C]\r\nk5=5\r\n"},
        {"bytes_before_first_section", bytes("Data \0 before \0 first \0 section"), "section1",
         "key1", "string1", bytes("Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n"),
         true},
        // Text around the change is kept as it was
        {"spelling_of_names_kept", "[ram]\r\nrelease=3\r\n", "RAM", "Release", "4", "[ram]\r\nrelease=4\r\n"},
        {"other_lines_byte_for_byte", "; c \n[RAM]\n  Release = 3 \nx = 1\n", "RAM", "Release", "5",
         "; c \n[RAM]\nRelease=5\nx = 1\n", true},
        {"cr_only_file", "[RAM]\rRelease=3\rx=1\r", "RAM", "Release", "5", "[RAM]\rRelease=5\rx=1\r", true},
        {"new_key_before_blank_lines", "[A]\r\nk=1\r\n\r\n\r\n[B]\r\n", "a", "n", "2",
         "[A]\r\nk=1\r\nn=2\r\n\r\n\r\n[B]\r\n", true},
        {"new_key_after_comment", "[A]\r\nk=1\r\n;note\r\n[B]\r\nb=1\r\n", "A", "n", "2",
         "[A]\r\nk=1\r\n;note\r\nn=2\r\n[B]\r\nb=1\r\n"},
        {"new_key_in_empty_section", "[RAM]\r\n", "RAM", "Release", "5", "[RAM]\r\nRelease=5\r\n"},
        {"new_key_no_final_newline", "[A]\r\nk=1", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        {"new_section_no_final_newline", "[A]\r\nk=1", "B", "n", "2", "[A]\r\nk=1\r\n[B]\r\nn=2\r\n"},
        {"new_key_crlf_in_lf_file", "[A]\nk=1\n", "A", "n", "2", "[A]\nk=1\nn=2\r\n", true},
        // [wine] an unchanged value leaves the file alone, blanks included
        {"same_value_no_change", "[RAM]\r\nRelease = 3\r\n", "RAM", "Release", "3", "[RAM]\r\nRelease = 3\r\n"},
        {"leading_blanks_of_value_dropped", "[s]\r\nk=1\r\n", "s", "k", "  7", "[s]\r\nk=7\r\n"},
        {"first_of_duplicate_sections", "[RAM]\r\na=1\r\n[RAM]\r\nRelease=9\r\n", "RAM", "Release", "5",
         "[RAM]\r\na=1\r\nRelease=5\r\n[RAM]\r\nRelease=9\r\n"},
        {"value_for_line_without_equals", "[s]\r\nk\r\n", "s", "k", "5", "[s]\r\nk=5\r\n"},
        {"first_of_duplicate_keys", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "5", "[s]\r\nk=5\r\nk=2\r\n"},
        {"key_before_any_section_untouched", "k=1\r\n[s]\r\n", "s", "k", "5", "k=1\r\n[s]\r\nk=5\r\n"},
        {"section_without_bracket_is_no_section", "[s]\r\n[t\r\n", "t", "k", "5",
         "[s]\r\n[t\r\n[t]\r\nk=5\r\n"},
        // A UTF-16 LE file stays UTF-16, lines beyond the code page kept
        {"utf16_replace_in_place", utf16File(u"[RAM]\r\nRelease=3\r\n"), "RAM", "Release", "5",
         utf16File(u"[RAM]\r\nRelease=5\r\n")},
        {"utf16_new_key", utf16File(u"[A]\r\nk=1\r\n[B]\r\nb=2\r\n"), "a", "n", "2",
         utf16File(u"[A]\r\nk=1\r\nn=2\r\n[B]\r\nb=2\r\n")},
        {"utf16_new_section", utf16File(u"[A]\r\nk=1\r\n"), "Memory", "GraphInterval", "1.5",
         utf16File(u"[A]\r\nk=1\r\n[Memory]\r\nGraphInterval=1.5\r\n")},
        {"utf16_mark_only", utf16File(u""), "s", "k", "1", utf16File(u"[s]\r\nk=1\r\n")},
        {"utf16_ansi_value_written", utf16File(u"[s]\r\nk=1\r\n"), "s", "k", "Caf\xe9 \x80",
         utf16File(u"[s]\r\nk=Caf\u00e9 \u20ac\r\n")},
        {"utf16_other_lines_kept", utf16File(u"[\u65e5\u672c]\r\nx=\u65e5\r\n[s]\r\nk=1\r\n"), "s", "k", "2",
         utf16File(u"[\u65e5\u672c]\r\nx=\u65e5\r\n[s]\r\nk=2\r\n")},
    };
}

}  // namespace qm
