#!/usr/bin/perl
# A random settings file for comparing builds: random-settings.pl SEED BASE.INI.
# Starts from BASE.INI (every control and service the program knows) and
# changes every value at random; some files are also hand-edited the way
# people do it (letter case, blanks, sections repeated, lost or foreign).
use strict;
use warnings;
my ($seed, $base) = @ARGV;
die "usage: random-settings.pl SEED BASE.INI\n" unless defined $base;
srand($seed + 1);
open(my $fh, '<:raw', $base) or die "cannot read '$base': $!\n";
my @lines = map { s/\r?\n\z//r } <$fh>;
close($fh);

my $messy = $seed % 3 == 0;
sub pick { $_[int rand @_] }
sub state_value { pick(0, 1, 2, 0, 1, 2, 0, 1, 2, 3, '', 'x', ' 1', '01') }
sub number {
  pick(int(rand 8) - 2, int(rand 8) - 2, int(rand 700) - 50, sprintf('0x%x', rand 700),
       '', 'abc', '2147483648', '-2147483649', '0X7fffffff', '99999999999')
}

my ($section, @out) = ('');
for my $line (@lines) {
  if ($line =~ /^\[(.*)\]$/) {
    $section = $1;
    next if $messy && rand() < 0.05;  # a lost section header
    my $name = $messy && rand() < 0.2 ? lc $section : $section;
    push @out, $messy && rand() < 0.1 ? "  [ $name ]  " : "[$name]";
    next;
  }
  if ($line =~ /^([^=]*)=(.*)$/) {
    my ($name, $value) = ($1, $2);
    if ($section eq 'Servise' || $name eq 'Checked') { $value = state_value() }
    elsif ($name eq 'Index' || $name eq 'Timer') { $value = number() }
    $name = uc $name if $messy && rand() < 0.1;
    push @out, $messy && rand() < 0.1 ? "$name = $value" : "$name=$value";
    push @out, "; a note" if $messy && rand() < 0.02;
    next;
  }
  push @out, $line;
}
if ($messy) {
  # A repeated section whose later entries come too late to count, and one
  # the program does not know.
  push @out, '[sCheckBox_1_2]', 'Checked=' . state_value(), '';
  push @out, '[Notes]', 'kept=as it is', '';
  unshift @out, 'text before the first section' if rand() < 0.5;
}
print join($seed % 5 == 1 ? "\n" : "\r\n", @out), "\r\n";
