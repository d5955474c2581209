# README.md as README.txt for the Windows releases: what a user reads, without the
# sections for developers (whole "## " sections with their subsections), pictures and
# their captions, or references into the sections left out; lines end in CRLF.
#   awk -f readme-txt.awk README.md > README.txt

BEGIN {
  developer["Two commands"] = 1
  developer["Building on Windows"] = 1
  developer["More for developers"] = 1
  wrap = 86
}

# The anchor a heading's link uses: lower case, spaces as hyphens, no punctuation.
function anchor(heading,    a) {
  a = tolower(heading)
  gsub(/[^a-z0-9 _-]/, "", a)
  gsub(/ /, "-", a)
  return a
}

{ sub(/\r$/, ""); line[++n] = $0 }

END {
  fenced = 0
  for (i = 1; i <= n; i++) {
    if (line[i] ~ /^```/) fenced = !fenced
    if (!fenced && line[i] ~ /^## /) skipping = (substr(line[i], 4) in developer)
    if (skipping && !fenced && line[i] ~ /^#+ /) {
      heading = line[i]
      sub(/^#+ /, "", heading)
      cut[anchor(heading)] = 1
    }
    keep[i] = !skipping
  }

  fenced = 0; caption = 0; blank = 0
  for (i = 1; i <= n; i++) {
    if (!keep[i]) continue
    if (fenced || line[i] ~ /^```/) {
      if (line[i] ~ /^```/) fenced = !fenced
      emit(line[i])
      continue
    }
    if (line[i] == "") { emit(""); continue }
    # A paragraph: its lines up to a blank line or a fence.
    first = i; text = line[i]
    while (i < n && keep[i + 1] && line[i + 1] != "" && line[i + 1] !~ /^(```| *[-|#] )/)
      text = text " " line[++i]
    if (text ~ /^!\[/) { caption = 1; continue }
    if (caption && text ~ /^\*[^*]/) { caption = 0; continue }
    caption = 0
    changed = dropCutReferences()
    if (!changed) { for (j = first; j <= i; j++) emit(line[j]); continue }
    if (text != "") rewrap(text, line[first])
  }
}

# Removes from `text` each list entry ("[A](#a) · ") or sentence that links to a section
# left out; true when something was removed.
function dropCutReferences(    a, found, start, stop, before, after, removed) {
  removed = 0
  for (a in cut) {
    while ((found = index(text, "](#" a ")")) > 0) {
      removed = 1
      start = found
      while (start > 1 && substr(text, start, 1) != "[") start--
      stop = found + length("](#" a ")")
      before = substr(text, 1, start - 1)
      after = substr(text, stop)
      if (before ~ / · $/) { sub(/ · $/, "", before) }
      else if (after ~ /^ · /) { sub(/^ · /, "", after) }
      else {
        # The whole sentence goes.
        while (start > 1 && substr(text, start - 1, 2) != ". ") start--
        before = substr(text, 1, start - 1)
        stop = index(after, ".")
        after = stop ? substr(after, stop + 1) : ""
        sub(/^ +/, "", after)
        sub(/ +$/, "", before)
        if (before != "" && after != "") before = before " "
      }
      text = before after
    }
  }
  return removed
}

# Writes `text` in lines of at most `wrap` characters, indented as `model` (a list
# entry's lines after the first under its text). A link's text is not broken, and a
# separator " · " stays at the end of a line.
function rewrap(text, model,    indent, rest, out, word, k, count, words, open) {
  match(model, /^ */)
  indent = substr(model, 1, RLENGTH)
  rest = indent (model ~ /^ *- / ? "  " : "")
  count = split(text, words, / +/)
  out = ""
  for (k = 1; k <= count; k++) {
    word = words[k]
    if (word == "") continue
    open = gsub(/\[/, "[", word) - gsub(/\]/, "]", word)
    while (k < count && (open > 0 || words[k + 1] == "·")) {
      word = word " " words[++k]
      open = gsub(/\[/, "[", word) - gsub(/\]/, "]", word)
    }
    if (out == "") out = indent word
    else if (length(out) + 1 + length(word) > wrap) { emit(out); out = rest word }
    else out = out " " word
  }
  if (out != "") emit(out)
}

# Prints with a CRLF, never two blank lines in a row.
function emit(s) {
  if (s == "" && blank) return
  blank = (s == "")
  printf "%s\r\n", s
}
