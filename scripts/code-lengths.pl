#!/usr/bin/perl
# Lengths of files and functions of the C++ sources, for finding the long
# ones (docs/code-lengths.md says how they are counted):
#
#   scripts/code-lengths.pl [--functions N] [--files N] [PATH...]
#
# Prints each function longer than N lines (default 50) and each file longer
# than N lines (default 600), longest first, of the *.cpp and *.h files git
# tracks under the paths given (default: the whole tree). Reads the sources
# as clang-format lays them out; prints nothing else and exits 0.
use strict;
use warnings;
use Getopt::Long;

my ($max_function, $max_file) = (50, 600);
GetOptions('functions=i' => \$max_function, 'files=i' => \$max_file) or exit 2;
chdir(($0 =~ m{^(.*)/} ? $1 : '.') . '/..') or die "$0: $!\n";
my @files = grep { /\.(cpp|h)$/ } split /\n/, `git ls-files -- @ARGV`;

my (@long_files, @long_functions);
for my $file (@files) {
  open my $in, '<', $file or die "$0: $file: $!\n";
  my @lines = <$in>;
  close $in;
  push @long_files, [scalar @lines, $file] if @lines > $max_file;
  # Braces outside strings, characters and comments; a function is a body
  # opened at namespace or class scope by a line whose text since the last
  # statement ends in a parameter list (with qualifiers or an initializer
  # list after it), and is counted from that text's first line to its
  # closing brace.
  my @scopes;    # for each open brace: 'function', 'inside' or 'scope'
  my ($header, $header_line, $in_comment) = ('', 0, 0);
  my $start;
  for my $n (0 .. $#lines) {
    my $text = $lines[$n];
    if ($in_comment) {
      next unless $text =~ s{^.*?\*/}{};
      $in_comment = 0;
    }
    $text =~ s{R"([^(]*)\(.*?\)\1"}{""}g;
    $text =~ s{"(?:\\.|[^"\\])*"}{""}g;
    $text =~ s{'(?:\\.|[^'\\])*'}{''}g;
    $text =~ s{//.*}{};
    $text =~ s{/\*.*?\*/}{}g;
    $in_comment = 1 if $text =~ s{/\*.*}{};
    next if $text =~ /^\s*#/;
    for my $c ($text =~ /([{};]|[^{};]+)/g) {
      my $inside = grep { $_ ne 'scope' } @scopes;
      if ($c eq '{') {
        if ($inside) {
          push @scopes, 'inside';
        } elsif ($header =~ /\)\s*(?:const|override|noexcept|final|->[^{=]*|:.*|\s)*$/s
                 && $header !~ /^\s*(?:namespace|class|struct|enum|union)\b/
                 && $header !~ /=\s*$/) {
          push @scopes, 'function';
          $start = $header_line;
        } else {
          push @scopes, 'scope';
        }
        $header = '';
      } elsif ($c eq '}') {
        my $closed = pop @scopes // 'scope';
        if ($closed eq 'function') {
          my $length = $n - $start + 1;
          push @long_functions, [$length, "$file:" . ($start + 1)] if $length > $max_function;
        }
        $header = '' unless grep { $_ ne 'scope' } @scopes;
      } elsif ($c eq ';') {
        $header = '' unless $inside;
      } elsif (!$inside) {
        $header_line = $n if $header !~ /\S/ && $c =~ /\S/;
        $header .= $c;
      }
    }
  }
}
printf "function of %d lines: %s\n", @$_ for sort { $b->[0] <=> $a->[0] } @long_functions;
printf "file of %d lines: %s\n", @$_ for sort { $b->[0] <=> $a->[0] } @long_files;
