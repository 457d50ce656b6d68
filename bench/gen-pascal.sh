#!/usr/bin/env bash
# Writes a Pascal unit of about N lines (default 100000) to standard output: routines with
# nested blocks, literals, numbers and comments, so every path of the listing engine is used.
n=${1:-100000}
awk -v n="$n" 'BEGIN {
  print "unit Generated;"; print "{ generated test unit }"; print "interface"; print "uses SysUtils, Classes;";
  print "implementation"; lines = 5; k = 0;
  while (lines < n - 1) {
    k = k % 64 + 1; # a bounded vocabulary, so long and short files use the same tokens
    print "procedure TWorker" k ".Step" k "(const AValue: Integer; var Text: String);";
    print "var i, Count" k ": Integer; S: String; // locals";
    print "begin";
    print "  Count" k " := AValue * " k " + $FF; { a comment with don'\''t inside }";
    print "  for i := 0 to 10 do begin";
    print "    S := '\''Item '\'' + IntToStr(i) + '\''It'\'''\''s #'\'' + #13#10;";
    print "    if (i mod 2 = 0) and (Text <> \"x\") then Text := Text + S else Inc(Count" k ");";
    print "    case i of 1: WriteLn(1.5e3); 2: WriteLn('\''two'\''); end;";
    print "  end;";
    print "  try Text := UpperCase(Text); finally Count" k " := 0; end;";
    print "  (* old style";
    print "     comment *) Result := Count" k ";";
    print "end;";
    print "";
    lines += 14;
  }
  print "end.";
}'
