function [f, a, phase] = data_input(name, logFrequency, varargin)
%PLOT_INPUT  The data for a plot function: a 3-column file or three vectors.
%   [f, a, phase] = data_input(name, logFrequency, file)
%   [f, a, phase] = data_input(name, logFrequency, f, a, phase)
%   Returns column vectors; errors name the calling function. With
%   logFrequency true, frequencies must be above 0 Hz.
if numel(varargin) == 1 && ischar(varargin{1})
    [f, a, phase, info] = talvern_read(varargin{1});
    if info.columns ~= 3
        error('%s: %s is a node voltage (5-column) file; use talvern_node_transfer first', name, varargin{1});
    end
elseif numel(varargin) == 3
    [f, a, phase] = deal(varargin{:});
else
    error('%s: usage is %s(file) or %s(f, a, phase)', name, name, name);
end
if ~isnumeric(f) || ~isnumeric(a) || ~isnumeric(phase) || ~isreal(f) || ~isreal(a) || ~isreal(phase)
    error('%s: f, a and phase must be real numeric vectors', name);
end
if numel(a) ~= numel(f) || numel(phase) ~= numel(f)
    error('%s: f, a and phase must have the same length (they have %d, %d and %d)', ...
          name, numel(f), numel(a), numel(phase));
end
if isempty(f)
    error('%s: there are no points to plot', name);
end
if logFrequency && any(f(:) <= 0)
    error('%s: frequencies must be above 0 Hz for a logarithmic axis', name);
end
f = f(:);
a = a(:);
phase = phase(:);
end
