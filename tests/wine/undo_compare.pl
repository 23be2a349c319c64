#!/usr/bin/perl
# Compares two exports of the whole registry (REGEDIT /E) on everything that
# registry scripts touch:
#   - each value a script sets or deletes: present in both or in neither, with
#     the same data, as REGEDIT writes it;
#   - each key a script names: present in both or in neither, and so each key
#     on the way to it from its root;
#   - each key a script deletes: the whole subtree, every key and value.
#
#   undo_compare.pl --before BEFORE.reg --after AFTER.reg [--imported MID.reg] SCRIPT...
#
# With --imported, the export taken after the scripts were imported must
# differ from BEFORE on some of these, so that an import that changed nothing
# cannot pass for an undo that worked.
#
# The scripts' roots are found where Wine's export holds them:
# HKEY_CURRENT_USER as the user's hive under HKEY_USERS (S-1-5-21-...),
# HKEY_CLASSES_ROOT as HKEY_LOCAL_MACHINE\Software\Classes. Names compare
# without regard to letter case, as the registry's do.
#
# Exit status: 0 when everything matches, 1 on a difference, 2 when the input
# cannot be read.
use strict;
use warnings;
use Encode qw(decode);

binmode(STDOUT, ':encoding(UTF-8)');
binmode(STDERR, ':encoding(UTF-8)');

sub Lines {
  my ($file) = @_;
  open(my $fh, '<:raw', $file) or do { print STDERR "cannot read '$file': $!\n"; exit 2; };
  local $/;
  my $bytes = <$fh>;
  my $text = $bytes =~ s/^\xff\xfe// ? decode('UTF-16LE', $bytes) : decode('cp1251', $bytes);
  return split /\r\n/, $text;
}

# key id (lower case) => { lower-case value name => the value's line }
sub ReadExport {
  my ($file) = @_;
  my @lines = Lines($file);
  my (%keys, $key);
  for (my $i = 0; $i < @lines; ++$i) {
    my $line = $lines[$i];
    while ($line =~ /\\$/ && $i + 1 < @lines && $lines[$i + 1] =~ /^  /) {
      chop $line;
      (my $next = $lines[++$i]) =~ s/^\s+//;
      $line .= $next;
    }
    if ($line =~ /^\[(.*)\]$/) {
      $key = lc $1;
      $keys{$key} //= {};
    } elsif ($line =~ /^(@|"(?:[^"\\]|\\.)*")=/ && defined $key) {
      $keys{$key}{lc $1} = $line;
    } elsif ($line ne '' && $i > 0) {
      print STDERR "$file: line ", $i + 1, " is not a line REGEDIT /E writes: $line\n";
      exit 2;
    }
  }
  return \%keys;
}

my (%file, @scripts);
while (@ARGV) {
  my $arg = shift @ARGV;
  if ($arg =~ /^--(before|after|imported)$/) { $file{$1} = shift @ARGV; }
  else { push @scripts, $arg; }
}
die "usage: see the head of $0\n" unless $file{before} && $file{after} && @scripts;
my %export = map { $_ => ReadExport($file{$_}) } keys %file;

my @users = grep { /^hkey_users\\(s-1-5-21-[^\\]*)$/ && !/_classes$/ } keys %{ $export{before} };
die "$file{before}: not one user's hive but " . scalar(@users) . "\n" unless @users == 1;
my %alias = (hkey_current_user => $users[0], hkey_classes_root => 'hkey_local_machine\\software\\classes');

sub KeyId {
  my ($path) = @_;
  my $id = lc $path;
  $id =~ s/^([^\\]+)/$alias{$1} \/\/ $1/e;
  return $id;
}

# What the scripts touch.
my (%values, %named, %deleted);   # key id => { name => 1 }, key id => path
for my $script (@scripts) {
  my $key;
  for my $line (Lines($script)) {
    if ($line =~ /^\s*\[(-?)(HKEY_[^\]]*)\]/) {
      my $id = KeyId($2);
      if ($1) { $deleted{$id} = $2; undef $key; }
      else { $named{$id} = $2; $key = $id; }
    } elsif (defined $key && $line =~ /^\s*(@|"(?:[^"\\]|\\.)*")\s*=/) {
      $values{$key}{lc $1} = 1;
    }
  }
}

# Every comparison: its name and the state in each export.
my @items;
for my $key (keys %values) {
  push @items, map { ["[$key] $_", sub { my $e = shift; $e->{$key} ? $e->{$key}{$_[0]} : undef }, $_] }
    keys %{ $values{$key} };
}
my %onTheWay;
for my $key (keys %named) {
  for (my $k = $key; $k =~ /\\/; $k =~ s/\\[^\\]*$//) { $onTheWay{$k} = 1; }
}
push @items, map { ["[$_]", sub { my $e = shift; exists $e->{$_[0]} ? 'present' : undef }, $_] }
  keys %onTheWay;
for my $key (keys %deleted) {
  push @items, ["[$key] and all below", sub {
    my ($e, $top) = @_;
    my @below = sort grep { $_ eq $top || index($_, "$top\\") == 0 } keys %$e;
    return undef unless @below;
    return join "\n", map { my $k = $_; ("[$k]", map { $e->{$k}{$_} } sort keys %{ $e->{$k} }) } @below;
  }, $key];
}

sub Show { my ($state) = @_; return defined $state ? $state : '(absent)'; }

my ($changed, @failures) = (0);
for my $item (@items) {
  my ($name, $state, $arg) = @$item;
  my $before = $state->($export{before}, $arg);
  my $after = $state->($export{after}, $arg);
  if ((defined $before) != (defined $after) || (defined $before && $before ne $after)) {
    push @failures, "$name: before " . Show($before) . "\n  after the undo " . Show($after);
  }
  if ($export{imported}) {
    my $mid = $state->($export{imported}, $arg);
    ++$changed if (defined $before) != (defined $mid) || (defined $before && $before ne $mid);
  }
}

printf "%d values, %d keys on the way to %d named, %d deleted subtrees compared",
  scalar(grep { $_->[0] =~ /^\[[^\]]*\] [@"]/ } @items), scalar(grep { $_->[0] =~ /\]$/ } @items),
  scalar(keys %named), scalar(keys %deleted);
print "; the import changed $changed of them" if $export{imported};
print "; ", scalar(@failures), " differ after the undo\n";
print "  $_\n" for sort @failures;
if ($export{imported} && !$changed) {
  print "  the import changed nothing the scripts touch: nothing was undone\n";
  exit 1;
}
exit(@failures ? 1 : 0);
