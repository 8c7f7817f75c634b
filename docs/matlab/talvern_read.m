function [f, a, phase, info] = talvern_read(file)
%TALVERN_READ  Read a data set exported from TalvernRLC.
%
%   [f, a, phase] = talvern_read(file)
%   [f, a, phase, info] = talvern_read(file)
%   nodes = talvern_read(file)            (5-column node voltage files)
%
%   Reads a ".dat" file written by File > Export To Matlab/Mathcad, or a
%   table copied from the program (or from "talvern-cli export") and saved
%   to a file. Numbers are separated by tabs (spaces are accepted too).
%   Lines that start with "*" (description lines and column headers) and
%   blank lines are skipped; CR LF and LF line breaks are both accepted,
%   with or without a break after the last line.
%
%   Three columns per line (gain or impedance display):
%     f      frequency in Hz (column vector)
%     a      gain in dB, or impedance magnitude in ohms (column vector)
%     phase  phase in degrees (column vector)
%
%   Five columns per line (Voltage Format: one line per node and frequency):
%     f      a struct array, one element per node, ordered by node number,
%            with the fields
%              node   the channel or node number
%              f      frequency in Hz (column vector)
%              volts  voltage in volts
%              db     voltage in dB (20*log10 of volts)
%              phase  phase in degrees
%              point  index of the measured point each row belongs to; rows
%                     of the same point share a frequency, so two nodes can
%                     be paired point by point (see talvern_node_transfer)
%     a, phase  empty
%
%   info is a struct with the fields
%     columns      3 or 5
%     data         all numbers as a matrix, one row per line of the file
%     lines        the line number in the file of each row of data
%     comments     the "*" lines, without the "*", as a cell array of rows
%     kind         'gain', 'imp' or 'volt' from the column header line,
%                  '' when the file has none (a bare ".dat" export)
%     outputNode, inputNode, scaleFactor
%                  from a "*Gain/Phase: Output Node=2, Input Node=1,
%                  Scale Factor=1" (or "*Impedance/Phase: Voltage Node=...,
%                  Current Node=...") line, NaN when there is none
%
%   An error is raised when the file cannot be opened, holds no numbers,
%   holds a line that is not numbers, or mixes line widths (the message
%   gives the line number).
%
%   Example:
%     [f, db, ph] = talvern_read('filter.dat');
%     semilogx(f, db), grid on
%
%     nodes = talvern_read('nodes.dat');     % a Voltage Format export
%     plot(nodes(2).f, nodes(2).volts)
%
%   See also TALVERN_WRITE, TALVERN_BODE, TALVERN_NODE_TRANSFER.

if nargin < 1 || ~ischar(file) || isempty(file)
    error('talvern_read: give the name of the file to read, e.g. talvern_read(''data.dat'')');
end
text = file_bytes(file, 'talvern_read');

% CR LF, LF and a lone CR all end a line.
text = strrep(text, sprintf('\r\n'), sprintf('\n'));
text = strrep(text, sprintf('\r'), sprintf('\n'));
rawLines = regexp(text, '\n', 'split');

info = struct('columns', 0, 'data', [], 'lines', [], 'comments', {{}}, ...
              'kind', '', 'outputNode', NaN, 'inputNode', NaN, 'scaleFactor', NaN);
rows = cell(numel(rawLines), 1);
lineNumbers = zeros(numel(rawLines), 1);
count = 0;
width = 0;
widthLine = 0;
for k = 1:numel(rawLines)
    line = strtrim(rawLines{k});
    if isempty(line)
        continue;
    end
    if line(1) == '*'
        info = read_comment(info, line(2:end));
        continue;
    end
    values = parse_numbers(line);
    if isempty(values)
        error('talvern_read: %s line %d is not a line of numbers: "%s"', file, k, line);
    end
    if width == 0
        width = numel(values);
        widthLine = k;
        if width ~= 3 && width ~= 5
            error('talvern_read: %s line %d has %d numbers; expected 3 (frequency, gain or impedance, phase) or 5 (frequency, node, volts, dB, phase)', ...
                  file, k, width);
        end
    elseif numel(values) ~= width
        error('talvern_read: %s line %d has %d numbers but line %d has %d; lines of different widths cannot be read as one table', ...
              file, k, numel(values), widthLine, width);
    end
    count = count + 1;
    rows{count} = values(:)';
    lineNumbers(count) = k;
end
if count == 0
    error('talvern_read: %s holds no numbers', file);
end

data = vertcat(rows{1:count});
info.columns = width;
info.data = data;
info.lines = lineNumbers(1:count);

if width == 3
    f = data(:, 1);
    a = data(:, 2);
    phase = data(:, 3);
    return;
end

% Five columns: one row per node reading. A point's rows follow each other
% with the same frequency; a new point starts where the frequency changes
% or a node comes back.
point = zeros(count, 1);
current = 0;
seen = [];
for k = 1:count
    if k == 1 || data(k, 1) ~= data(k - 1, 1) || any(seen == data(k, 2))
        current = current + 1;
        seen = [];
    end
    seen(end + 1) = data(k, 2); %#ok<AGROW>
    point(k) = current;
end
numbers = unique(data(:, 2));
f = struct('node', cell(1, numel(numbers)), 'f', [], 'volts', [], 'db', [], ...
           'phase', [], 'point', []);
for n = 1:numel(numbers)
    pick = data(:, 2) == numbers(n);
    f(n).node = numbers(n);
    f(n).f = data(pick, 1);
    f(n).volts = data(pick, 3);
    f(n).db = data(pick, 4);
    f(n).phase = data(pick, 5);
    f(n).point = point(pick);
end
a = [];
phase = [];
if isempty(info.kind)
    info.kind = 'volt';
end
end

function values = parse_numbers(line)
% The numbers of one line, or [] when anything else is on it. "%g" writes
% inf and nan for values that are not finite; those are accepted too.
[values, n, msg, next] = sscanf(line, '%f'); %#ok<ASGLU>
if n == 0 || next <= numel(line)
    values = [];
end
end

function info = read_comment(info, body)
body = strtrim(body);
if strncmp(body, 'Frequency (Hz)', 14)
    if ~isempty(strfind(body, 'Gain (dB)'))
        info.kind = 'gain';
    elseif ~isempty(strfind(body, 'Impedance (Ohms)'))
        info.kind = 'imp';
    elseif ~isempty(strfind(body, 'Voltage (Volts)'))
        info.kind = 'volt';
    end
elseif strncmp(body, 'Gain/Phase:', 11) || strncmp(body, 'Impedance/Phase:', 16)
    info.outputNode = field_value(body, '(?:Output|Voltage) Node');
    info.inputNode = field_value(body, '(?:Input|Current) Node');
    info.scaleFactor = field_value(body, 'Scale Factor');
end
info.comments{end + 1} = body;
end

function value = field_value(body, name)
token = regexp(body, [name '\s*=\s*([^,\s]+)'], 'tokens', 'once');
value = NaN;
if ~isempty(token)
    value = str2double(token{1});
end
end
