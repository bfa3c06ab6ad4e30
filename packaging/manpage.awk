# Turns a program's --help text into a manual page, so that the page says exactly what --help
# says. Variables: name, section, summary, version, date, see_also, data_dir, doc_dir.
#
# The help text is read in blocks separated by blank lines. "usage:" lines make the synopsis;
# a block headed by a line such as "Examples:" starts a section of that name; a block of plain
# lines is a paragraph; indented lines keep their columns.

# Escapes text for roff: backslashes, minus signs (so options can be copied), and a line that
# would otherwise read as a request.
function esc(text,    out, i, c) {
    out = ""
    for (i = 1; i <= length(text); i++) {
        c = substr(text, i, 1)
        if (c == "\\") {
            out = out "\\e"
        } else if (c == "-") {
            out = out "\\-"
        } else {
            out = out c
        }
    }
    if (out ~ /^[.']/) {
        out = "\\&" out
    }
    return out
}

function indented(line) {
    return line ~ /^[ \t]/
}

function heading(line,    title) {
    title = toupper(substr(line, 1, length(line) - 1))
    if (title == "EXIT CODES") {
        title = "EXIT STATUS"
    }
    return title
}

# Lines that keep their columns; the help text's own two-column margin is dropped, since the
# page indents its sections already.
function preformatted(first, last,    i, margin, line) {
    margin = 1
    for (i = first; i <= last; i++) {
        if (lines[i] !~ /^  /) {
            margin = 0
        }
    }
    print ".PP"
    print ".nf"
    for (i = first; i <= last; i++) {
        line = lines[i]
        if (margin) {
            line = substr(line, 3)
        }
        print esc(line)
    }
    print ".fi"
}

function paragraph(first, last,    i) {
    print ".PP"
    for (i = first; i <= last; i++) {
        print esc(lines[i])
    }
}

# One block of lines first..last (none of them empty).
function block(first, last,    i, all_plain, rest_indented) {
    if (lines[first] ~ /^[A-Z][A-Za-z ]*:$/ && first < last) {
        print ".SH " heading(lines[first])
        preformatted(first + 1, last)
        return
    }
    all_plain = 1
    for (i = first; i <= last; i++) {
        if (indented(lines[i])) {
            all_plain = 0
        }
    }
    if (all_plain) {
        paragraph(first, last)
        return
    }
    rest_indented = !indented(lines[first])
    for (i = first + 1; i <= last; i++) {
        if (!indented(lines[i])) {
            rest_indented = 0
        }
    }
    if (rest_indented && first < last) {
        # A command's own synopsis (continued on lines indented deeper than its text) with its
        # description below it.
        synopsis_line = lines[first]
        start = first + 1
        while (start <= last && lines[start] ~ /^   +\[/) {
            continued = lines[start]
            sub(/^ +/, "", continued)
            synopsis_line = synopsis_line " " continued
            start++
        }
        print ".TP 4"
        print ".B " esc(synopsis_line)
        print ".nf"
        for (i = start; i <= last; i++) {
            sub(/^  /, "", lines[i])
            print esc(lines[i])
        }
        print ".fi"
        return
    }
    preformatted(first, last)
}

{
    sub(/\r$/, "")
    lines[++count] = $0
}

END {
    print ".TH " toupper(name) " " section " \"" date "\" \"Vekaton " version "\" \"User Commands\""
    # No hyphenation and a ragged right edge: options and paths must stay whole.
    print ".nh"
    print ".ad l"
    print ".SH NAME"
    print esc(name) " \\- " esc(summary)

    # The synopsis: every "usage:" line with the lines indented under it.
    synopsis = 0
    in_usage = 0
    for (i = 1; i <= count; i++) {
        if (lines[i] ~ /^usage: /) {
            in_usage = 1
            usage[++synopsis] = substr(lines[i], 8)
            taken[i] = 1
        } else if (in_usage && indented(lines[i]) && lines[i] !~ /^[ \t]*$/) {
            line = lines[i]
            sub(/^[ \t]+/, "", line)
            usage[++synopsis] = line
            taken[i] = 1
        } else {
            in_usage = 0
        }
    }
    if (synopsis > 0) {
        print ".SH SYNOPSIS"
        print ".nf"
        for (i = 1; i <= synopsis; i++) {
            print esc(usage[i])
        }
        print ".fi"
    }

    print ".SH DESCRIPTION"
    first = 0
    for (i = 1; i <= count + 1; i++) {
        empty = i > count || taken[i] || lines[i] ~ /^[ \t]*$/
        if (!empty && first == 0) {
            first = i
        } else if (empty && first != 0) {
            block(first, i - 1)
            first = 0
        }
    }

    print ".SH FILES"
    print ".TP"
    print ".I " esc(data_dir "/demo")
    print "The demo configuration set, copied to the user's data folder on first use."
    print ".TP"
    print ".I " esc(data_dir "/definitions")
    print "The library of parameter definitions."
    print ".TP"
    print ".I " esc(doc_dir "/manual.md")
    print "The user manual, which the window shows with Help, Contents (F1)."
    if (see_also != "") {
        print ".SH SEE ALSO"
        n = split(see_also, pages, " ")
        for (i = 1; i <= n; i++) {
            print ".BR " esc(pages[i]) " (1)" (i < n ? "," : "")
        }
    }
}
