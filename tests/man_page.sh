#!/bin/sh
# The manual page names every option that `vetrix --help` lists, and groff,
# when installed, renders it without a warning.
# usage: tests/man_page.sh VETRIX_BINARY MAN_PAGE
bin=$1
page=$2
# The page's text with roff's escaped hyphens as plain ones.
text=$(sed 's/\\-/-/g' "$page")
missing=""
for option in $("$bin" --help | sed -n 's/^  \(--[a-z-]*\).*/\1/p'); do
  printf '%s\n' "$text" | grep -qE -e "$option([^a-z-]|\$)" || missing="$missing $option"
done
if [ -n "$missing" ]; then
  echo "$page does not name:$missing"
  exit 1
fi
if command -v groff >/dev/null 2>&1; then
  warnings=$(groff -man -ww -Tutf8 "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "groff warns about $page:"
    echo "$warnings"
    exit 1
  fi
  echo "$page names every option of --help and renders without warnings"
else
  echo "$page names every option of --help (groff not installed: rendering not checked)"
fi
