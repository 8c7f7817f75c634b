function talvern_write(file, f, a, phase)
%TALVERN_WRITE  Write a data set for TalvernRLC's Import From Matlab/Mathcad.
%
%   talvern_write(file, f, a, phase)
%   talvern_write(file, M)            M is an N-by-3 matrix [f a phase]
%
%   Writes one line per point: frequency (Hz), gain (dB) or impedance
%   magnitude (ohms), phase (degrees), separated by tabs and printed with
%   "%g" (six significant digits). Lines are separated by CR LF and the last
%   line has no line break after it: the layout File > Export To
%   Matlab/Mathcad writes, and the one the program imports as gain data.
%   The program imports the table into the display it is given to, so the
%   second column is read as dB in a gain display and as ohms in an
%   impedance display.
%
%   f, a and phase are real vectors of one length (rows or columns). All
%   values must be finite: the program cannot import inf or nan. An
%   existing file is overwritten.
%
%   Example:
%     [f, db, ph] = talvern_read('filter.dat');
%     talvern_write('filter_plus6.dat', f, db + 6, ph);
%
%   See also TALVERN_READ.

if nargin == 2
    if ~isnumeric(f) || ndims(f) ~= 2 || size(f, 2) ~= 3
        error('talvern_write: with two arguments the second must be an N-by-3 matrix [f a phase]');
    end
    a = f(:, 2);
    phase = f(:, 3);
    f = f(:, 1);
elseif nargin ~= 4
    error('talvern_write: usage is talvern_write(file, f, a, phase) or talvern_write(file, [f a phase])');
end
if ~ischar(file) || isempty(file)
    error('talvern_write: the first argument must be the name of the file to write');
end
names = {'f', 'a', 'phase'};
values = {f, a, phase};
for k = 1:3
    v = values{k};
    if ~isnumeric(v) || ~isreal(v) || (~isvector(v) && ~isempty(v))
        error('talvern_write: %s must be a real numeric vector', names{k});
    end
    if any(~isfinite(v(:)))
        error('talvern_write: %s holds inf or nan at index %d; the program cannot import it', ...
              names{k}, find(~isfinite(v(:)), 1));
    end
end
n = numel(f);
if numel(a) ~= n || numel(phase) ~= n
    error('talvern_write: f, a and phase must have the same length (they have %d, %d and %d)', ...
          numel(f), numel(a), numel(phase));
end
if n == 0
    error('talvern_write: there are no points to write');
end

table = [double(f(:))'; double(a(:))'; double(phase(:))'];
text = sprintf('%g\t%g\t%g\r\n', table);
text = text(1:end - 2);   % no line break after the last line

fid = fopen(file, 'w');
if fid < 0
    error('talvern_write: cannot open "%s" for writing', file);
end
written = fwrite(fid, text, 'char');
status = fclose(fid);
if written ~= numel(text) || status ~= 0
    error('talvern_write: writing "%s" failed', file);
end
end
