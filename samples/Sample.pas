unit Sample;
{ A small unit to try the listing on: routines, literals, numbers and comments. }

interface

uses SysUtils;

type
  TGreeter = class
  private
    FCount: Integer;
  public
    function Greet(const Name: string): string;
    procedure Reset;
  end;

implementation

function TGreeter.Greet(const Name: string): string;
begin
  INC(fcount);
  if name = '' then
    result := 'Hello, nobody!'
  else
    RESULT := 'Hello, ' + Name + ' (' + inttostr(FCOUNT) + ')';
  // greet counts every call
end;

procedure tgreeter.reset;
begin
  try
    FCount := 0;
  finally
    (* nothing to free *)
  end;
end;

end.
