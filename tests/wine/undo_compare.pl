#!/usr/bin/perl
# Compares two exports of the whole registry (REGEDIT /E) on what registry
# scripts touch: each value they set or delete (data as REGEDIT writes it, or
# absent), each key they name and every key on the way to it (present or
# not), and the whole subtree of each key they delete. With --imported, the
# export taken after the import must differ on some of these, so that an
# import that changed nothing cannot pass for an undo that worked.
#   undo_compare.pl --before BEFORE.reg --after AFTER.reg [--imported MID.reg] SCRIPT...
# Exit status: 0 all the same, 1 a difference, 2 an input cannot be read.
use strict;
use warnings;
use Encode qw(decode);

binmode(STDOUT, ':encoding(UTF-8)');

sub Lines {
  my ($file) = @_;
  open(my $fh, '<:raw', $file) or do { print "cannot read '$file': $!\n"; exit 2; };
  local $/;
  my $bytes = <$fh>;
  return split /\r\n/, $bytes =~ s/^\xff\xfe// ? decode('UTF-16LE', $bytes) : decode('cp1251', $bytes);
}

# key id (lower case) => { lower-case value name => the value's line }
sub ReadExport {
  my ($file) = @_;
  my @lines = Lines($file);
  my (%keys, $key);
  for (my $i = 1; $i < @lines; ++$i) {
    my $line = $lines[$i];
    $line = substr($line, 0, -1) . substr($lines[++$i], 2) while $line =~ /\\$/ && $lines[$i + 1] =~ /^  /;
    if ($line =~ /^\[(.*)\]$/) { $keys{$key = lc $1} //= {}; }
    elsif ($line =~ /^(@|"(?:[^"\\]|\\.)*")=/ && defined $key) { $keys{$key}{lc $1} = $line; }
    elsif ($line ne '') { print "$file: line ", $i + 1, " is not what REGEDIT /E writes\n"; exit 2; }
  }
  return \%keys;
}

my (%export, @scripts);
while (my $arg = shift @ARGV) {
  if ($arg =~ /^--(before|after|imported)$/) { $export{$1} = ReadExport(shift @ARGV); }
  else { push @scripts, $arg; }
}
die "usage: see the head of $0\n" unless $export{before} && $export{after} && @scripts;

my @users = grep { /^hkey_users\\s-1-5-21-[^\\]*$/ && !/_classes$/ } keys %{ $export{before} };
die "not one user's hive in the export but " . @users . "\n" unless @users == 1;
my %alias = (hkey_current_user => $users[0], hkey_classes_root => 'hkey_local_machine\\software\\classes');

# What the scripts touch: each item, a name and its state in an export.
my (@items, %values, %onTheWay, %named, %deleted);
for my $script (@scripts) {
  my $key;
  for my $line (Lines($script)) {
    if (my ($minus, $path) = $line =~ /^\s*\[(-?)(HKEY_[^\]]*)\]/) {
      (my $id = lc $path) =~ s/^([^\\]+)/$alias{$1} \/\/ $1/e;
      $key = $minus ? undef : $id;
      ($minus ? $deleted{$id} : $named{$id}) = 1;
    } elsif (defined $key && $line =~ /^\s*(@|"(?:[^"\\]|\\.)*")\s*=/) {
      my ($k, $name) = ($key, lc $1);
      push @items, ["[$k] $name", sub { $_[0]{$k} ? $_[0]{$k}{$name} : undef }]
        unless $values{"$k $name"}++;
    }
  }
}
for my $key (keys %named) {
  for (my $k = $key; $k =~ /\\/; $k =~ s/\\[^\\]*$//) { $onTheWay{$k} = 1; }
}
push @items, map { my $k = $_; ["[$k]", sub { exists $_[0]{$k} ? 'present' : undef }] } keys %onTheWay;
push @items, map {
  my $top = $_;
  ["[$top] and all below", sub {
     my $e = shift;
     my @below = sort grep { $_ eq $top || index($_, "$top\\") == 0 } keys %$e;
     return @below ? join("\n", map { ("[$_]", @{ $e->{$_} }{ sort keys %{ $e->{$_} } }) } @below) : undef;
   }]
} keys %deleted;

# Where two states part: the first line of each that the other does not have.
sub FirstDifference {
  my @lines = map { [split /\n/, $_ // '(absent)'] } @_;
  my $i = 0;
  ++$i while $i < @{ $lines[0] } && $i < @{ $lines[1] } && $lines[0][$i] eq $lines[1][$i];
  return ($lines[0][$i] // '(nothing more)') . "\n  after " . ($lines[1][$i] // '(nothing more)');
}
sub Differ { my ($a, $b) = @_; return (defined $a) != (defined $b) || (defined $a && $a ne $b); }
my ($changed, @failures) = (0);
for my $item (@items) {
  my ($name, $state) = @$item;
  my ($before, $after) = map { $state->($export{$_}) } qw(before after);
  push @failures, "$name: before " . FirstDifference($before, $after) if Differ($before, $after);
  ++$changed if $export{imported} && Differ($before, $state->($export{imported}));
}
printf "%d values, %d keys on the way to %d named, %d deleted subtrees compared",
  @items - keys(%onTheWay) - keys(%deleted), scalar(keys %onTheWay), scalar(keys %named),
  scalar(keys %deleted);
print "; the import changed $changed of them" if $export{imported};
print "; ", scalar(@failures), " differ after the undo\n";
print "  $_\n" for sort @failures;
print "  the import changed nothing the scripts touch: nothing was undone\n"
  if $export{imported} && !$changed;
exit(@failures || ($export{imported} && !$changed) ? 1 : 0);
