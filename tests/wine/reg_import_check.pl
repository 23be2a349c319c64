#!/usr/bin/perl
# Checks what REGEDIT made of our registry scripts.
#
#   reg_import_check.pl --import SCRIPT=REGEDIT_OUTPUT ... --export EXPORT ...
#
# The scripts are replayed, in the order they were imported, into the state
# they promise: keys that exist or are gone, values with their type and data,
# values that are gone. That state is then compared with REGEDIT's own export
# (/E) of the registry after the import, and REGEDIT must say nothing at all
# while importing.
#
# The reading of the scripts follows Wine's REGEDIT where it differs from the
# text of a script (see Unescape and WidenAnsi), and values Wine rewrites by
# itself are compared by type only (%rewrittenByWine).
#
# Exit status: 0 when everything matches, 1 on a mismatch, another one when
# the input cannot be read.
use strict;
use warnings;
use Encode qw(decode encode);

binmode(STDOUT, ':encoding(UTF-8)');
binmode(STDERR, ':encoding(UTF-8)');

my @failures;
sub Fail { push @failures, join('', @_); }

# --- Keys ------------------------------------------------------------------

# The merged classes view is, for a machine without per-user classes, the
# machine's Software\Classes; REGEDIT exports it only there.
my %alias = ('HKEY_CLASSES_ROOT' => 'HKEY_LOCAL_MACHINE\\Software\\Classes');
my %roots = map { $_ => 1 }
  qw(HKEY_LOCAL_MACHINE HKEY_CURRENT_USER HKEY_USERS HKEY_CURRENT_CONFIG HKEY_CLASSES_ROOT);

# The comparison form of a key path: aliases resolved, case folded. Returns
# undef for a path whose root REGEDIT does not accept (short names included).
sub KeyId {
  my ($path) = @_;
  my ($root, $rest) = $path =~ /^([^\\]+)(.*)$/ or return undef;
  return undef unless $roots{$root};
  $root = $alias{$root} // $root;
  return lc($root . $rest);
}

# --- Data --------------------------------------------------------------------

# Wine's REGEDIT reads a string the way its escape rules say: \\ \" \n \r are
# escapes, "\0" makes the line invalid, and any other backslash is dropped
# (with a notice on the console, which fails the check). Returns the string as
# Wine stores it, or undef for an invalid one.
my %escape = (n => "\n", r => "\r");
sub Unescape {
  my ($text) = @_;
  my $out = '';
  while ($text =~ /\G(?:([^\\]+)|\\(.)|(\\)$)/gcs) {
    return undef if defined $3 || (defined $2 && $2 eq '0');
    $out .= $1 // $escape{$2} // $2;
  }
  return $out;
}

# The export's escapes: only those REGEDIT itself writes.
sub UnescapeExport {
  my ($text) = @_;
  my %map = ('\\' => '\\', '"' => '"', 'n' => "\n", 'r' => "\r", '0' => "\0");
  $text =~ s/\\(.)/$map{$1} \/\/ "\\$1"/ges;
  return $text;
}

# Wine's REGEDIT reads the hex(2) bytes of a script without a byte-order mark
# as a string in the ANSI code page: every byte becomes one UTF-16 unit.
# Windows stores the bytes as written. Comparing with Wine's reading still
# proves that every byte of the value arrived.
sub WidenAnsi {
  my ($bytes) = @_;
  return encode('UTF-16LE', decode('cp1251', $bytes));
}

sub HexBytes {
  my ($list) = @_;
  $list =~ s/\s+//g;
  $list =~ s/,$//;
  return '' if $list eq '';
  return undef unless $list =~ /^[0-9a-fA-F]{1,2}(?:,[0-9a-fA-F]{1,2})*$/;
  return join('', map { chr hex } split /,/, $list);
}

sub Show {
  my ($v) = @_;
  return '(absent)' if !$v;
  my ($type, $data) = @$v{qw(type data)};
  return sprintf('dword:%08x', $data) if $type eq 'dword';
  if ($type eq 'sz') {
    my %escape = ("\n" => 'n', "\r" => 'r', "\0" => '0', '\\' => '\\', '"' => '"');
    (my $s = $data) =~ s/([\\"\n\r\0])/\\$escape{$1}/g;
    return "\"$s\"";
  }
  return "$type:" . join(',', map { sprintf '%02x', ord } split //, $data);
}

# Values that Wine itself rewrites whenever a program starts, so that no
# export can show what the import wrote: only their type is compared.
my %rewrittenByWine = (
  # The first keyboard layout: set to the layout of Wine's locale.
  'hkey_current_user\\keyboard layout\\preload' => { '1' => 1 },
);

# --- Reading a script, as REGEDIT does ---------------------------------------

my %keyState;   # key id => { path, present, where }
my %expected;   # key id => { lc name => { name, type, data, where } or { name, absent, where } }
my %stats = (keys => 0, deletedKeys => 0, values => 0, deletedValues => 0);

sub Lines {
  my ($file, $encoding) = @_;
  open(my $fh, '<:raw', $file) or die "cannot read '$file': $!\n";
  local $/;
  my $bytes = <$fh>;
  close $fh;
  return ($bytes, [split /\r\n/, decode($encoding, $bytes), -1]);
}

sub DeleteKey {
  my ($id, $path, $where) = @_;
  for my $k (keys %keyState) {
    $keyState{$k}{present} = 0 if $k eq $id || index($k, "$id\\") == 0;
  }
  for my $k (keys %expected) {
    delete $expected{$k} if $k eq $id || index($k, "$id\\") == 0;
  }
  $keyState{$id} = { path => $path, present => 0, where => $where };
}

sub CreateKey {
  my ($id, $path, $where) = @_;
  for my $k (keys %keyState) {
    $keyState{$k}{present} = 1 if $k eq $id || index($id, "$k\\") == 0;
  }
  $keyState{$id} = { path => $path, present => 1, where => $where };
}

# Reads one script into the expected state.
sub ReadScript {
  my ($file) = @_;
  my ($bytes, $lines) = Lines($file, 'cp1251');
  my $name = $file =~ s{.*/}{}r;
  Fail("$name: starts with a byte-order mark; the scripts are Windows-1251 text"), return
    if $bytes =~ /^(?:\xef\xbb\xbf|\xff\xfe|\xfe\xff)/;
  Fail("$name: the last line does not end in CR LF") if $bytes ne '' && $bytes !~ /\r\n\z/;
  pop @$lines if @$lines && $lines->[-1] eq '';
  Fail("$name: line 1 is not \"Windows Registry Editor Version 5.00\"")
    unless @$lines && $lines->[0] eq 'Windows Registry Editor Version 5.00';
  Fail("$name: a line ends in a bare CR or LF") if grep { /[\r\n]/ } @$lines;

  my $key;    # current key id (undef after a deletion line)
  for (my $i = 1; $i < @$lines; ++$i) {
    my $where = "$name:" . ($i + 1);
    my $line = $lines->[$i];
    # Hex data continues over lines that end in a backslash.
    while ($line =~ /^\s*(?:@|"(?:[^"\\]|\\.)*")\s*=\s*hex(?:\([0-9a-fA-F]+\))?:.*\\\s*$/
           && $i + 1 < @$lines) {
      $line =~ s/\\\s*$//;
      (my $next = $lines->[++$i]) =~ s/^\s+//;
      $line .= $next;
    }
    next if $line =~ /^\s*(?:;|$)/;
    if ($line =~ /^\s*\[(-?)(.*)\]\s*$/) {
      my ($delete, $path) = ($1, $2);
      my $id = KeyId($path);
      ($key = undef), Fail("$where: REGEDIT does not accept the key [$delete$path]"), next
        unless defined $id;
      if ($delete) {
        DeleteKey($id, $path, $where);
        ++$stats{deletedKeys};
        $key = undef;
      } else {
        CreateKey($id, $path, $where);
        ++$stats{keys};
        $key = $id;
      }
      next;
    }
    my ($rawName, $data) = $line =~ /^\s*(@|"(?:[^"\\]|\\.)*")\s*=\s*(.*?)\s*$/
      or Fail("$where: not a line REGEDIT reads: $line"), next;
    Fail("$where: value line outside a key: $line"), next unless defined $key;
    my $valueName = $rawName eq '@' ? '' : Unescape(substr($rawName, 1, -1));
    Fail("$where: REGEDIT rejects the value name $rawName"), next unless defined $valueName;
    my $shown = $rawName eq '@' ? '(default)' : "\"$valueName\"";
    my %value = (name => $shown, where => $where);
    if ($data eq '-') {
      $value{absent} = 1;
      ++$stats{deletedValues};
    } elsif ($data =~ /^"((?:[^"\\]|\\.)*)"$/) {
      my $text = Unescape($1);
      Fail("$where: REGEDIT rejects the string $data"), next unless defined $text;
      %value = (%value, type => 'sz', data => $text);
    } elsif ($data =~ /^dword:([0-9a-fA-F]{1,8})$/) {
      %value = (%value, type => 'dword', data => hex $1);
    } elsif ($data =~ /^hex(?:\(([0-9a-fA-F]+)\))?:(.*)$/) {
      my $kind = defined $1 ? hex $1 : 3;
      my $bytes = HexBytes($2);
      Fail("$where: bad hex list: $data"), next unless defined $bytes;
      $bytes = WidenAnsi($bytes) if $kind == 2 || $kind == 7;
      %value = (%value, type => $kind == 3 ? 'hex' : sprintf('hex(%x)', $kind), data => $bytes);
    } else {
      Fail("$where: value data REGEDIT does not read: $data"), next;
    }
    ++$stats{values} unless $value{absent};
    $expected{$key}{lc $valueName} = \%value;
  }
}

# REGEDIT's console output: nothing at all.
sub CheckOutput {
  my ($script, $outFile) = @_;
  my ($bytes) = Lines($outFile, 'latin1');
  my $name = $script =~ s{.*/}{}r;
  for my $line (split /\r?\n/, decode('cp866', $bytes)) {
    Fail("$name: REGEDIT said: $line") unless $line =~ /^\s*$/;
  }
}

# --- Reading an export ---------------------------------------------------------

my %actualKeys;    # key id => 1
my %actual;        # key id => { lc name => { type, data } }, for expected keys only

sub ReadExport {
  my ($file) = @_;
  my ($bytes) = Lines($file, 'latin1');
  Fail("$file: not a UTF-16 export"), return if $bytes !~ s/^\xff\xfe//;
  my @lines = split /\r\n/, decode('UTF-16LE', $bytes);
  # An export of the whole registry holds HKEY_CURRENT_USER as the one user's
  # hive under HKEY_USERS.
  my @users = grep { !/_Classes\]$/ } grep { /^\[HKEY_USERS\\S-1-5-21-[^\\]*\]$/ } @lines;
  my $user = (@users == 1 && !grep { /^\[HKEY_CURRENT_USER\]$/ } @lines) ? substr($users[0], 1, -1) : undef;
  my $key;
  for (my $i = 0; $i < @lines; ++$i) {
    my $line = $lines[$i];
    while ($line =~ /\\$/ && $i + 1 < @lines && $lines[$i + 1] =~ /^  /) {
      chop $line;
      (my $next = $lines[++$i]) =~ s/^\s+//;
      $line .= $next;
    }
    if ($line =~ /^\[(.*)\]$/) {
      my $path = $1;
      $path =~ s/^\Q$user\E(?=\\|$)/HKEY_CURRENT_USER/i if defined $user;
      $key = KeyId($path);
      $actualKeys{$key} = 1 if defined $key;
      next;
    }
    next unless defined $key && $expected{$key};
    my ($rawName, $data) = $line =~ /^(@|"(?:[^"\\]|\\.)*")=(.*)$/ or next;
    my $valueName = $rawName eq '@' ? '' : UnescapeExport(substr($rawName, 1, -1));
    my %value;
    if ($data =~ /^"(.*)"$/) {
      %value = (type => 'sz', data => UnescapeExport($1));
    } elsif ($data =~ /^dword:([0-9a-f]{8})$/) {
      %value = (type => 'dword', data => hex $1);
    } elsif ($data =~ /^hex(?:\(([0-9a-f]+)\))?:(.*)$/) {
      my $kind = defined $1 ? hex $1 : 3;
      %value = (type => $kind == 3 ? 'hex' : sprintf('hex(%x)', $kind), data => HexBytes($2) // '');
    } else {
      Fail("$file: unreadable export line: $line"), next;
    }
    $actual{$key}{lc $valueName} = \%value;
  }
}

# --- Main ------------------------------------------------------------------------

my (@imports, @exports);
while (@ARGV) {
  my $opt = shift @ARGV;
  my $arg = shift @ARGV;
  if (!defined $arg) { die "usage: see the head of $0\n"; }
  elsif ($opt eq '--import') {
    my ($script, $out) = $arg =~ /^(.*)=(.*)$/ or die "--import wants SCRIPT=OUTPUT\n";
    push @imports, [$script, $out];
  }
  elsif ($opt eq '--export') { push @exports, $arg; }
  else { die "unknown option $opt\n"; }
}

die "nothing to check\n" unless @imports;
for my $import (@imports) {
  my ($script, $out) = @$import;
  ReadScript($script);
  CheckOutput($script, $out);
}
ReadExport($_) for @exports;

for my $id (sort keys %keyState) {
  my $state = $keyState{$id};
  if ($state->{present} && !$actualKeys{$id}) {
    Fail("$state->{where}: key [$state->{path}] is missing after the import");
  } elsif (!$state->{present} && $actualKeys{$id}) {
    Fail("$state->{where}: key [$state->{path}] still exists after its deletion");
  }
}
for my $id (sort keys %expected) {
  next unless $keyState{$id}{present};
  for my $lcName (sort keys %{ $expected{$id} }) {
    my $want = $expected{$id}{$lcName};
    my $got = $actual{$id}{$lcName};
    my $where = "$want->{where}: [$keyState{$id}{path}] $want->{name}";
    if ($want->{absent}) {
      Fail("$where: should be deleted, is " . Show($got)) if $got;
    } elsif (!$got) {
      Fail("$where: missing, expected " . Show($want));
    } elsif ($got->{type} ne $want->{type}
             || ($got->{data} ne $want->{data} && !$rewrittenByWine{$id}{$lcName})) {
      Fail("$where: expected " . Show($want) . ", registry has " . Show($got));
    }
  }
}

printf "%d key lines, %d key deletions, %d values, %d value deletions checked\n",
  @stats{qw(keys deletedKeys values deletedValues)};
if (@failures) {
  my $shown = @failures > 60 ? 60 : @failures;
  print "FAIL: $_\n" for @failures[0 .. $shown - 1];
  print "... and ", @failures - $shown, " more\n" if @failures > $shown;
  exit 1;
}
exit 0;
