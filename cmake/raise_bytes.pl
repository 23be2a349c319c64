#!/usr/bin/perl
# Stores the window description with every byte raised by one (modulo 256),
# the form in which the program carries it.
use strict;
use warnings;
my ($in, $out) = @ARGV;
die "usage: raise_bytes.pl IN OUT\n" unless defined $out;
open(my $fh, '<:raw', $in) or die "cannot read '$in': $!\n";
local $/;
my $bytes = <$fh>;
close($fh);
$bytes =~ tr/\x00-\xff/\x01-\xff\x00/;
open(my $oh, '>:raw', "$out.tmp") or die "cannot write '$out.tmp': $!\n";
print $oh $bytes or die "cannot write '$out.tmp': $!\n";
close($oh) or die "cannot write '$out.tmp': $!\n";
rename("$out.tmp", $out) or die "cannot rename to '$out': $!\n";
